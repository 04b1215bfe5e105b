// SPDX-License-Identifier: MIT
// help_menu.h: the Help menu: About, the help file, the annotated map of Mars, where the data comes from.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;

// The help file the Help menu opens.
inline constexpr const char* kHelpFile = "rubicel.chm";

// Size of the annotated map of Mars, in pixels.
inline constexpr int kAnnotatedMapWidth = 1024;
inline constexpr int kAnnotatedMapHeight = 397;

// The texts of the two information boxes.
extern const char* const kAboutText;
extern const char* const kSourcingTitle;
extern const char* const kSourcingText;

// A Help menu item was chosen: 0 About, 1 Program Help, 3 Annotated Map of Mars,
// 5 Sourcing the MEG064 MOLA DEMs; other indexes do nothing.
void m_h_Click(Program& p, std::int16_t index);

}  // namespace rubicel
