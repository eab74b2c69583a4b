#pragma once
// What several layouts declare alike.
#include "platform/report.h"

#include <span>

// Adds declared items to a band; items without a size of their own take `size`.
void AddBlock(ReportBand &band, std::span<const ItemDecl> items, double size);

// The footer band of the cards and address books: the church name label `lblCname` on the
// left, the program's line on the right, a line across its top. Returns the church label.
ReportItem *AddChurchFooter(Report &report, double height, double bandWidth);
