// SPDX-License-Identifier: MIT
// config_file.cpp: the three-line configuration file and the start-up check of the data folder.
#include "windows/config_file.h"


#include "common/file_start.h"
#include "settings/config_text.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr MenuId kMapArea{MenuControl::m_area};

constexpr const char* kHeadNotDefined =
    "You have not yet defined the location of the\n"
    "MOLA MEGDR064 Tiles required by this software.\n\n";
constexpr const char* kHeadTooFew =
    "The folder you have selected does not appear to\n"
    "contain the 4 required MEGDR064 data Tiles.\n\n";
constexpr const char* kHeadTooMany =
    "The folder you have selected contains more than the\n"
    "FOUR MEGDR064 data files required by this software!\n\n";
constexpr const char* kAdvice =
    "Use the 'Set MOLA DEM File Folder' option from the \n"
    "'File' menu to identify the folder that contains\n"
    "the four MEGDR064 data files.";
constexpr const char* kProblemTitle = "Problem finding the MEGDR064 data files";

// A configuration file is three short lines; reading stops here whatever the
// file holds.
constexpr std::size_t kMaxConfigBytes = 64 * 1024;

// Returns the start of the file's text, or nothing when it cannot be opened or read.
// A file longer than the limit gives its whole lines only: a line cut in the
// middle would be taken for a folder that was never saved.
std::optional<std::string> readConfigText(const std::string& path) {
    std::optional<std::string> text = readFileStart(path, kMaxConfigBytes);
    if (text && text->size() > kMaxConfigBytes) {
        const std::size_t lineEnd = text->find_last_of("\r\n", kMaxConfigBytes - 1);
        text->resize(lineEnd == std::string::npos ? 0 : lineEnd + 1);
    }
    return text;
}

// Map Area stays unusable until the next start; one message says what is missing.
void explainMissingTiles(Program& p, const char* head) {
    p.ui.setMenuEnabled(kMapArea, false);
    p.ui.messageBox(std::string(head) + kAdvice, kProblemTitle, Icon::Critical);
}

}  // namespace

std::string configPath(const MapState& map) {
    const std::string& folder = map.startfolder;
    if (folder.empty()) return kConfigFileName;
    return folder.back() == '/' ? folder + kConfigFileName : folder + '/' + kConfigFileName;
}

void fload(Program& p) {
    // 1. Read the three fields; each one read keeps its value even when a later one fails.
    const std::optional<std::string> text = readConfigText(configPath(p.map));
    ConfigFields fields;
    if (text) fields = parseConfig(*text);
    if (fields.datafolder) p.map.datafolder = *fields.datafolder;
    if (fields.scheme) p.colour.scheme = usableScheme(*fields.scheme);
    if (fields.mode) p.colour.mode = usableMode(*fields.mode);

    // 2. Count the tiles. An empty folder line names no folder: it is treated as a
    //    folder that cannot be listed, not as one without tiles.
    if (fields.complete()) {
        checkDataFolder(p);
        return;
    }
    explainMissingTiles(p, kHeadNotDefined);
}

bool checkDataFolder(Program& p) {
    const char* head = kHeadNotDefined;
    if (!p.map.datafolder.empty()) {
        if (std::optional<std::vector<std::string>> tiles = listTiles(p.map.datafolder)) {
            p.File1 = std::move(*tiles);
            const std::size_t n = p.File1.size();
            if (n == 4) {
                p.ui.setMenuEnabled(kMapArea, true);
                if (p.map.datafolder.back() != '/') p.map.datafolder += '/';
                return true;
            }
            head = n < 4 ? kHeadTooFew : kHeadTooMany;
        }
    }
    explainMissingTiles(p, head);
    return false;
}

bool fsave(Program& p) {
    const std::string path = configPath(p.map);
    const std::string text = formatConfig(p.map.datafolder, p.colour.scheme, p.colour.mode);
    if (const std::optional<std::string> error = writeFileReplacing(path, text)) {
        p.ui.messageBox("The settings could not be saved to the file\n" + path + "\n(" + *error +
                            ").\nThe previous settings file, if any, is unchanged.",
                        "Rubicel", Icon::Critical);
        return false;
    }
    return true;
}

void m_default_Click(Program& p) {
    // The new scheme and mode apply from the next drawing; the check marks stay.
    p.colour.scheme = 1;
    p.colour.mode = 1;
    p.ui.setControlVisible(Control::Findloc, true);
}

void Dir002_Click(Program& p, const std::string& fullPath) {
    p.map.datafolder = fullPath;
}

void setfolder_Click(Program& p) {
    if (!p.map.datafolder.empty()) p.ui.setControlVisible(Control::Findloc, false);
    if (!fsave(p)) {
        // Nothing was stored, so a restart would not see the folder: keep the
        // panel open instead of ending the program.
        p.ui.setControlVisible(Control::Findloc, true);
        return;
    }
    p.ui.messageBox("You must now restart the program", "RESTART PROGRAM", Icon::Information);
    // A drawing in progress ends at its next row, as on Exit.
    p.exiting = true;
    p.ui.quit();
}

}  // namespace rubicel
