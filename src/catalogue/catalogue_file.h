// The catalogue file written on close.
#pragma once

#include "text/text.h"

inline constexpr char kCatalogueFileName[] = "cfogd.ini";

// Every item followed by "\r\n", the item's bytes unchanged.
Text CatalogueFileText(const TextArray& items);

// The query-close handler of the main window: asks whether to save the catalogue and, on Yes
// with at least one item, writes it to cfogd.ini beside the program. It never refuses the
// close.
void OnMainWindowClosing();
