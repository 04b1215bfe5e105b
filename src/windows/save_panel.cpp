// SPDX-License-Identifier: MIT
// save_panel.cpp: the save panel SaveBox: the map picture saved as a BMP file in the maps folder.
#include "windows/save_panel.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/bmp_writer.h"
#include "windows/program.h"

namespace rubicel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgramTitle = "Rubicel";

// Reads the maps folder again into File2.
void refreshFile2(Program& p) {
    p.saveBox.File2 = listFolderFiles(p.saveBox.mapsFolder).value_or(std::vector<std::string>{});
}

void hidePanel(Program& p) { p.ui.setControlVisible(Control::SaveBox, false); }

}  // namespace

std::optional<std::vector<std::string>> listFolderFiles(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return std::nullopt;
    std::vector<std::string> names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::error_code typeError;
        if (!name.empty() && name[0] != '.' && it->is_regular_file(typeError)) names.push_back(std::move(name));
    }
    if (ec) return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
}

std::string bitmapFileName(std::string name) {
    if (name.find(".BMP") == std::string::npos) name += ".BMP";
    return name;
}

std::optional<std::string> unusableFileName(const std::string& name) {
    if (name == "." || name == "..")
        return "\"" + name + "\" names a folder, not a file.";
    if (name.find('/') != std::string::npos)
        return "A file name may not contain \"/\": maps are saved in the maps folder only.";
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
    if (control) return "A file name may not contain control characters.";
    return std::nullopt;
}

void NewFolder(Program& p, const std::string& nf) {
    std::error_code ec;
    if (!fs::create_directory(nf, ec) || ec)
        p.ui.messageBox("Error : Couldn't create directory !", kProgramTitle, Icon::Critical);
}

void m_savemap_Click(Program& p) {
    SavePanel& panel = p.saveBox;

    // 1. Show the panel over the map's top-left corner, focus in the name box.
    p.ui.setControlRect(Control::SaveBox, {0, 0, kSaveBoxWidth, kSaveBoxHeight});
    p.ui.setControlVisible(Control::SaveBox, true);
    p.ui.setFocus(Form::SaveBox, "newmap");

    // 2, 3. The maps folder, shown in the panel.
    panel.mapsFolder = p.map.startfolder + "/Maps";

    // 4. Read it; a missing folder is created and counts as empty.
    if (auto files = listFolderFiles(panel.mapsFolder)) {
        panel.File2 = std::move(*files);
    } else {
        panel.File2.clear();
        NewFolder(p, panel.mapsFolder);
    }

    // 5. The list is refilled only when there is something to show.
    if (!panel.File2.empty()) panel.FileList = panel.File2;
    p.ui.formChanged(Form::SaveBox);
}

void newmap_Change(Program& p, std::string text) { p.saveBox.newmap = std::move(text); }

bool NewMap_KeyPress(Program& p, int keyAscii) {
    if (keyAscii != 13) return false;
    saveit_Click(p, 0);
    return true;
}

void saveit_Click(Program& p, std::int16_t index) {
    if (index == 1) {
        refreshFile2(p);
        hidePanel(p);
        return;
    }
    if (index != 0) return;

    std::string name = p.saveBox.newmap;
    if (name.empty()) {
        hidePanel(p);
        return;
    }
    // A name that would reach outside the maps folder is refused; the panel
    // stays open so that the name can be mended.
    if (const auto why = unusableFileName(name)) {
        p.ui.messageBox("The map was not saved.\n" + *why, kProgramTitle, Icon::Critical);
        return;
    }
    name = bitmapFileName(std::move(name));

    // The file is replaced only once the new one is complete, so a failed write
    // leaves an earlier map of that name as it was.
    const std::string path = p.saveBox.mapsFolder + "/" + name;
    if (const auto failure = writeBmp(p.dmap.image, path)) {
        p.ui.messageBox("The map could not be saved to\n" + path + "\n" + *failure, kProgramTitle, Icon::Critical);
        return;
    }
    refreshFile2(p);
    hidePanel(p);
}

}  // namespace rubicel
