// SPDX-License-Identifier: MIT
// save_panel.h: the save panel SaveBox: the map picture saved as a BMP file in the maps folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rubicel {

struct Program;

// Where the panel lies over the map, in twips.
inline constexpr int kSaveBoxWidth = 3975;
inline constexpr int kSaveBoxHeight = 4935;

// What the panel keeps for the whole run; the window mirrors it.
struct SavePanel {
    std::string mapsFolder;             // startfolder + "/Maps", worked out at every opening
    std::string newmap;                 // the name typed; kept from one use to the next
    std::vector<std::string> FileList;  // names the list shows
    std::vector<std::string> File2;     // the maps folder's files as last read
};

// Returns the ordinary, non-hidden files of folder in name order, or nothing when
// the folder cannot be read.
[[nodiscard]] std::optional<std::vector<std::string>> listFolderFiles(const std::string& folder);

// Returns name with ".BMP" appended unless it holds ".BMP" (case-sensitive).
std::string bitmapFileName(std::string name);

// Returns why name cannot be a file of the maps folder (a folder separator, "."
// or "..", a control character), or nothing when it can.
[[nodiscard]] std::optional<std::string> unusableFileName(const std::string& name);

// Creates folder nf, one level deep; tells the user when it cannot.
void NewFolder(Program& p, const std::string& nf);

// "Save Map": shows the panel, works out the maps folder and lists it.
void m_savemap_Click(Program& p);
// The name in newmap was edited.
void newmap_Change(Program& p, std::string text);
// A key typed in newmap; Enter (13) presses "&Save". Returns true when the key
// was used here and must not reach the box.
bool NewMap_KeyPress(Program& p, int keyAscii);
// Index 0 "&Save", 1 "&Quit".
void saveit_Click(Program& p, std::int16_t index);

}  // namespace rubicel
