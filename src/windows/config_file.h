// SPDX-License-Identifier: MIT
// config_file.h: the three-line configuration file and the start-up check of the data folder.
#pragma once

#include <string>

namespace rubicel {

struct Program;
struct MapState;

inline constexpr const char* kConfigFileName = "mgr064srubicel.cfg";

// startfolder + "/" + "mgr064srubicel.cfg".
std::string configPath(const MapState& map);
// Reads the configuration and checks datafolder for the four tiles (fills p.File1,
// enables "Map Area    " or shows the one message).
void fload(Program& p);
// Checks datafolder for the four tiles: with four, fills p.File1, ends the folder
// with '/', enables "Map Area    " and returns true; otherwise shows the one
// message and returns false. fload's own check, also used for a folder given
// on the command line.
bool checkDataFolder(Program& p);
// Writes datafolder, scheme and mode, safely (temporary file, then rename). Returns
// false, after a message box, when the file cannot be written.
bool fsave(Program& p);

// The folder panel: "Set MEGDR064 DEM File Folder", a clicked folder, "Close".
void m_default_Click(Program& p);
void Dir002_Click(Program& p, const std::string& fullPath);
void setfolder_Click(Program& p);

}  // namespace rubicel
