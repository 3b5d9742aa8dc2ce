// What the backup and compaction windows draw alike: the darker left panel
// with the title read from the bottom up, and the instruction paragraphs with
// their coloured, bold runs, wrapped word by word.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/RegistryBackupPresenter.h"
#include "ui/win/GdiObject.h"

namespace tidewell {

inline constexpr int kToolPanelWidth = 132;

// The panel and its title; `titleBottom` is where the text starts (its base
// line runs upwards from there).
void PaintToolPanel(HDC dc, int height, HFONT titleFont, const std::string& title,
                    int titleBottom);

// The paragraphs from `top`, between `left` and `right`; a "\n" in a run
// starts a new line. "Run" runs in bold orange, folder runs in light blue.
void PaintInstructions(HDC dc, HFONT font, HFONT boldFont,
                       const std::vector<std::vector<TTextRun>>& paragraphs, int left,
                       int top, int right);

}  // namespace tidewell
