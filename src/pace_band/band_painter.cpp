#include "band_painter.h"

#include "views/pace_band/band_texts.h"
#include "shell/program_font.h"
#include "storage/text_bridge.h"

#include <QBuffer>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kA4LongMm = 297.0;
constexpr double kA4ShortMm = 210.0;

// The wristband: strips of 200 x 28 mm, five to a landscape page, with room for cut marks.
constexpr double kStripLengthMm = 200.0;
constexpr double kStripHeightMm = 28.0;
constexpr double kStripPitchMm = 36.0;
constexpr double kFirstStripMm = 15.0;
constexpr int kStripsPerPage = 5;
constexpr int kRowsPerStrip = 22;
constexpr int kHeadLines = 4;
constexpr int kLinesPerStrip = 5;
constexpr int kColumnsPerStrip = (kRowsPerStrip + kLinesPerStrip - 1) / kLinesPerStrip;
constexpr double kHeadMm = 38.0;
constexpr double kInnerMm = 2.0;
constexpr double kPlaceMm = 11.0;
constexpr double kCutMarkMm = 5.0;
constexpr double kCutGapMm = 1.5;

// The table page: two blocks of rows side by side.
constexpr double kTableLeftMm = 12.0;
constexpr double kTableTitleMm = 14.0;
constexpr double kTableHeaderMm = 24.0;
constexpr double kTableBottomMm = 285.0;
constexpr double kTableRowMm = 5.0;
constexpr double kBlockWidthMm = 90.0;
constexpr double kBlockGapMm = 6.0;
constexpr int kBlocksPerPage = 2;
constexpr std::array<double, 4> kColumnMm{32.0, 18.0, 18.0, 22.0};

// Nine points is the smallest a runner reads at arm's length.
constexpr qreal kSmallPoints = 9.0;
constexpr qreal kTimePoints = 10.0;
constexpr qreal kHeadPoints = 11.0;
constexpr qreal kSmallestHeadPoints = 6.0;
constexpr qreal kTitlePoints = 12.0;

constexpr QColor kStripLine{150, 150, 150};
constexpr QColor kMarkFill{255, 220, 220};
constexpr QColor kRuleColour{200, 200, 200};

// Millimetres to device units, from the paper's corner.
class Sheet
{
public:
    explicit Sheet(QPagedPaintDevice& device) : m_unit(device.logicalDpiX() / kMmPerInch) {}

    double operator()(double mm) const { return mm * m_unit; }
    QRectF rect(double x, double y, double w, double h) const
    {
        return {(*this)(x), (*this)(y), (*this)(w), (*this)(h)};
    }
    QPointF point(double x, double y) const { return {(*this)(x), (*this)(y)}; }

private:
    double m_unit;
};

QPen hairline(const Sheet& mm, const QColor& colour)
{
    QPen pen(colour);
    pen.setWidthF(mm(0.2));
    return pen;
}

void drawCutMarks(QPainter& painter, const Sheet& mm, const QRectF& stripMm)
{
    painter.setPen(hairline(mm, Qt::black));
    const double gap = kCutGapMm;
    const double mark = kCutMarkMm;
    for (const double x : {stripMm.left(), stripMm.right()}) {
        for (const double y : {stripMm.top(), stripMm.bottom()}) {
            const double out = x == stripMm.left() ? -1.0 : 1.0;
            const double down = y == stripMm.top() ? -1.0 : 1.0;
            painter.drawLine(mm.point(x + out * gap, y), mm.point(x + out * (gap + mark), y));
            painter.drawLine(mm.point(x, y + down * gap), mm.point(x, y + down * (gap + mark)));
        }
    }
}

void drawStrip(QPainter& painter, const Sheet& mm, const BandSheet& sheet, double top,
               std::size_t first, int number, int count)
{
    const double left = (kA4LongMm - kStripLengthMm) / 2.0;
    const QRectF strip(left, top, kStripLengthMm, kStripHeightMm);
    drawCutMarks(painter, mm, strip);
    painter.setPen(hairline(mm, kStripLine));
    painter.drawRect(mm.rect(left, top, kStripLengthMm, kStripHeightMm));
    painter.drawLine(mm.point(left + kHeadMm, top), mm.point(left + kHeadMm, top + kStripHeightMm));

    const auto linesOf = [&](int lines) {
        const double line = (kStripHeightMm - 2 * kInnerMm) / lines;
        return [&mm, top, line](double x, int index, double width) {
            return mm.rect(x, top + kInnerMm + index * line, width, line);
        };
    };
    const auto headRect = linesOf(kHeadLines);
    const auto lineRect = linesOf(kLinesPerStrip);
    const double headLeft = left + kInnerMm;
    const double headWidth = kHeadMm - 2 * kInnerMm;
    painter.setPen(Qt::black);
    // With the distance also in the marks' unit the line is longer than the head is wide; it
    // gets smaller rather than cut, as the unit is what makes the marks readable.
    QFont headFont = programFont(kHeadPoints, true);
    painter.setFont(headFont);
    const QRectF distanceLine = headRect(headLeft, 0, headWidth);
    for (qreal points = kHeadPoints;
         points > kSmallestHeadPoints &&
         painter.boundingRect(distanceLine, Qt::AlignLeft, sheet.distance).width() >
             distanceLine.width();
         points -= 0.5) {
        headFont.setPointSizeF(points - 0.5);
        painter.setFont(headFont);
    }
    painter.drawText(distanceLine, Qt::AlignLeft | Qt::AlignVCenter, sheet.distance);
    painter.setFont(programFont(kTimePoints, true));
    painter.drawText(headRect(headLeft, 1, headWidth), Qt::AlignLeft | Qt::AlignVCenter,
                     kBandGoal.toString() + u' ' + sheet.goal);
    // The strategy's name fills a line of the head; its amount goes below it.
    painter.setFont(programFont(kSmallPoints));
    painter.drawText(headRect(headLeft, 2, headWidth), Qt::AlignLeft | Qt::AlignVCenter,
                     sheet.strategy.section(u' ', 0, 0));
    painter.drawText(headRect(headLeft, 3, headWidth), Qt::AlignLeft | Qt::AlignVCenter,
                     sheet.strategy.section(u' ', 1));
    painter.drawText(headRect(headLeft, 3, headWidth), Qt::AlignRight | Qt::AlignVCenter,
                     u"%1/%2"_s.arg(number).arg(count));

    const double gridLeft = left + kHeadMm + kInnerMm;
    const double column = (kStripLengthMm - kHeadMm - 2 * kInnerMm) / kColumnsPerStrip;
    const std::size_t last = std::min(sheet.rows.size(), first + kRowsPerStrip);
    for (std::size_t i = first; i < last; ++i) {
        const PlanRow& row = sheet.rows[i];
        const int slot = static_cast<int>(i - first);
        const double x = gridLeft + (slot / kLinesPerStrip) * column;
        const int lineIndex = slot % kLinesPerStrip;
        if (row.mark != PlanMark::Split)
            painter.fillRect(lineRect(x, lineIndex, column - kInnerMm), kMarkFill);
        painter.setFont(programFont(kSmallPoints));
        painter.drawText(lineRect(x, lineIndex, kPlaceMm), Qt::AlignRight | Qt::AlignVCenter,
                         toQString(row.shortPlace));
        painter.setFont(programFont(kTimePoints, true));
        painter.drawText(lineRect(x + kPlaceMm + kInnerMm, lineIndex, column - kPlaceMm),
                         Qt::AlignLeft | Qt::AlignVCenter, toQString(row.passing));
    }
}

bool paintWristband(QPainter& painter, QPagedPaintDevice& device, const BandSheet& sheet)
{
    const Sheet mm(device);
    const int strips =
        std::max(1, static_cast<int>((sheet.rows.size() + kRowsPerStrip - 1) / kRowsPerStrip));
    for (int strip = 0; strip < strips; ++strip) {
        const int onPage = strip % kStripsPerPage;
        if (strip > 0 && onPage == 0 && !device.newPage())
            return false;
        if (onPage == 0) {
            painter.setPen(Qt::black);
            painter.setFont(programFont(kSmallPoints));
            painter.drawText(mm.rect(0, kA4ShortMm - kFirstStripMm, kA4LongMm, kFirstStripMm / 2),
                             Qt::AlignCenter, kBandPrintNote.toString());
        }
        drawStrip(painter, mm, sheet, kFirstStripMm + onPage * kStripPitchMm,
                  static_cast<std::size_t>(strip) * kRowsPerStrip, strip + 1, strips);
    }
    return true;
}

bool paintTablePage(QPainter& painter, QPagedPaintDevice& device, const BandSheet& sheet)
{
    const Sheet mm(device);
    const int rowsPerBlock = static_cast<int>((kTableBottomMm - kTableHeaderMm) / kTableRowMm) - 1;
    const int rowsPerPage = rowsPerBlock * kBlocksPerPage;
    const int total = static_cast<int>(sheet.rows.size());
    const int pages = std::max(1, (total + rowsPerPage - 1) / rowsPerPage);
    const std::array<QString, 4> headers{kBandPlace.toString(), kBandSegment.toString(),
                                         kBandPassing.toString(), kBandPace.toString()};

    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        QString title = kBandTitle.toString() + u"　"_s + sheet.distance + u"　"_s +
                        kBandGoal.toString() + u' ' + sheet.goal + u"　"_s + sheet.strategy;
        if (pages > 1)
            title += u"　（%1/%2）"_s.arg(page + 1).arg(pages);
        painter.setPen(Qt::black);
        painter.setFont(programFont(kTitlePoints, true));
        painter.drawText(mm.rect(kTableLeftMm, kTableTitleMm - kTableRowMm,
                                 kA4ShortMm - 2 * kTableLeftMm, kTableRowMm * 2),
                         Qt::AlignLeft | Qt::AlignVCenter, title);

        for (int block = 0; block < kBlocksPerPage; ++block) {
            const int first = page * rowsPerPage + block * rowsPerBlock;
            if (first >= total && block > 0)
                break;
            const double left = kTableLeftMm + block * (kBlockWidthMm + kBlockGapMm);
            const auto cell = [&](int column, int line) {
                double x = left;
                for (int c = 0; c < column; ++c)
                    x += kColumnMm[static_cast<std::size_t>(c)];
                return mm.rect(x, kTableHeaderMm + line * kTableRowMm,
                               kColumnMm[static_cast<std::size_t>(column)] - 1.0, kTableRowMm);
            };
            const auto align = [](int column) {
                return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
            };
            painter.setFont(programFont(kSmallPoints, true));
            for (int c = 0; c < 4; ++c)
                painter.drawText(cell(c, 0), align(c), headers[static_cast<std::size_t>(c)]);
            painter.setPen(hairline(mm, Qt::black));
            painter.drawLine(mm.point(left, kTableHeaderMm + kTableRowMm),
                             mm.point(left + kBlockWidthMm, kTableHeaderMm + kTableRowMm));

            const int last = std::min(total, first + rowsPerBlock);
            for (int r = first; r < last; ++r) {
                const PlanRow& row = sheet.rows[static_cast<std::size_t>(r)];
                const int line = r - first + 1;
                if (row.mark != PlanMark::Split)
                    painter.fillRect(cell(0, line).united(cell(3, line)), kMarkFill);
                if ((r - first + 1) % 5 == 0) {
                    painter.setPen(hairline(mm, kRuleColour));
                    const double y = kTableHeaderMm + (line + 1) * kTableRowMm;
                    painter.drawLine(mm.point(left, y), mm.point(left + kBlockWidthMm, y));
                }
                painter.setPen(Qt::black);
                const std::array<QString, 4> texts{toQString(row.place), toQString(row.segment),
                                                   toQString(row.passing), toQString(row.pace)};
                for (int c = 0; c < 4; ++c) {
                    painter.setFont(programFont(kTimePoints, c == 2));
                    painter.drawText(cell(c, line), align(c), texts[static_cast<std::size_t>(c)]);
                }
            }
        }
    }
    return true;
}

} // namespace

QPageLayout bandPageLayout(BandLayout layout)
{
    return QPageLayout(QPageSize(QPageSize::A4),
                       layout == BandLayout::Wristband ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool paintBand(QPagedPaintDevice& device, const BandSheet& sheet, BandLayout layout)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const bool painted = layout == BandLayout::Wristband ? paintWristband(painter, device, sheet)
                                                         : paintTablePage(painter, device, sheet);
    return painter.end() && painted;
}

std::optional<QByteArray> bandPdf(const BandSheet& sheet, BandLayout layout)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    {
        // The writer finishes the file when it is destroyed, so the bytes are read after.
        QPdfWriter writer(&buffer);
        writer.setCreator(kBandTitle.toString());
        writer.setTitle(kBandTitle.toString() + u' ' + sheet.distance);
        if (!writer.setPageLayout(bandPageLayout(layout)))
            return std::nullopt;
        if (!paintBand(writer, sheet, layout))
            return std::nullopt;
    }
    buffer.close();
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace torvanu
