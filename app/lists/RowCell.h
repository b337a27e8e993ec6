#pragma once
// One cell of a stock list as the lists' rules decide it: its text, its
// colour and which font it takes. The table models turn it into Qt roles.

#include <string>

#include "mainwindow/VerdictDisplay.h"

namespace orvane::app {

enum class CellFont {
    Table,    ///< the table's own font
    Label12,  ///< the label font at 12 points
    Label14,  ///< the label font at 14 points
    Bold12    ///< the bold system font at 12 points
};

struct RowCell {
    std::string text;
    Rgb colour = colours::black;
    CellFont font = CellFont::Table;
    friend bool operator==(const RowCell&, const RowCell&) = default;
};

/// The direction a column header shows after a sort.
enum class SortIndicator { None, Ascending, Descending };

}  // namespace orvane::app
