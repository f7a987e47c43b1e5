#pragma once

#include "views/pace_band/band_sheet.h"

#include <QByteArray>
#include <QPageLayout>

#include <optional>

class QPagedPaintDevice;

namespace torvanu {

enum class BandLayout
{
    Wristband, // strips to cut out and wear, on A4 landscape
    TablePage  // the whole plan as a table on A4 portrait
};

// The paper of a layout, without margins: every length on the sheet is measured from the
// paper's corner, so a strip printed at 100 % is as long as it says.
QPageLayout bandPageLayout(BandLayout layout);

// Paints the sheet onto a device already set to bandPageLayout(layout). False when the
// device cannot be painted on or refuses a new page.
bool paintBand(QPagedPaintDevice& device, const BandSheet& sheet, BandLayout layout);

// The sheet as the bytes of a PDF file, or nothing when it could not be made.
std::optional<QByteArray> bandPdf(const BandSheet& sheet, BandLayout layout);

} // namespace torvanu
