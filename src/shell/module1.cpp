#include "module1.h"

#include "storage/code_page.h"
#include "storage/openable_file.h"

#include "shell/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QThread>
#include <QUrl>

#include <optional>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kSaveTitle = u"名前を付けて保存";
constexpr QStringView kOpenTitle = u"ファイルを開く";
constexpr QStringView kCsvFilter = u"テキストファイル(*.csv)";
constexpr QStringView kAllFilesFilter = u"すべてのファイル(*.*)";
constexpr QStringView kCsvSuffix = u".csv";
constexpr QStringView kPdfFilter = u"PDFファイル(*.pdf)";
constexpr QStringView kPdfSuffix = u".pdf";
constexpr QStringView kLineEnd = u"\r\n";

std::optional<QUrl> launchTarget(const QString& target)
{
    if (target.startsWith(u"http://"_s, Qt::CaseInsensitive) ||
        target.startsWith(u"https://"_s, Qt::CaseInsensitive)) {
        // Strict parsing refuses blanks and other characters no real address holds, so a
        // crafted text is never passed on half-repaired.
        const QUrl url(target, QUrl::StrictMode);
        if (url.isValid() && !url.host().isEmpty())
            return url;
        return std::nullopt;
    }
    if (!isOpenableFile(target, FolderPolicy::Open))
        return std::nullopt;
    return QUrl::fromLocalFile(target);
}

struct Encoded
{
    QByteArray bytes;
    bool valid = true;
    char32_t unencodable = 0;
};

Encoded encodeForFile(const QString& text)
{
    Encoded result;
    QStringEncoder encoder(kCodePage932);
    if (!encoder.isValid()) {
        result.valid = false;
        return result;
    }
    if (const std::optional<qsizetype> index = firstUnstorableIndex(text)) {
        result.unencodable = characterAt(text, *index).toUcs4().value(0);
        return result;
    }
    result.bytes = encoder.encode(text);
    return result;
}

CsvSaveResult failed(const QString& path, const QString& detail)
{
    CsvSaveResult result;
    result.status = CsvSaveResult::Status::WriteFailed;
    result.path = path;
    result.detail = detail;
    return result;
}

} // namespace

Module1::Module1(Dialogs& dialogs, QWidget* owner) : m_dialogs(dialogs), m_owner(owner) {}

void Module1::ShellOpen(const QString& target) const
{
    if (const std::optional<QUrl> url = launchTarget(target))
        m_dialogs.openUrl(*url);
}

void Module1::UnloadAllForms()
{
    // The main window's close handler calls this, and closing the main window from here
    // runs that handler again: the flag and Qt's own guard against a second close of a
    // closing window make every later call a no-op.
    if (m_unloading)
        return;
    m_unloading = true;

    // The main window goes first: it may refuse to close (the record book could not be saved
    // and the user kept it open), and then nothing else closes and the program goes on.
    if (m_owner && !m_owner->close()) {
        m_unloading = false;
        return;
    }

    // A window's close handler may delete another window; hold them weakly.
    QList<QPointer<QWidget>> windows;
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget* window : topLevels)
        windows.append(window);
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            window->close();
    }

    // Outside a running event loop (before exec, or in a test) there is nothing to end, and
    // exit() would make every later event loop of the thread return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

QString Module1::GetDesktopPath() const
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir())
        return {};
    return desktop;
}

CsvSaveResult Module1::SaveAsCSV(const QString& text)
{
    // Without a desktop folder (a fresh account, a desktop without one) the chooser would
    // start wherever the program was started from; the home folder is the user's own.
    QString desktop = GetDesktopPath();
    if (desktop.isEmpty())
        desktop = homeFolder();
    return saveCsvText(text, {kCsvFilter, kCsvSuffix, desktop, m_lastCSVPath,
                              SaveFolders::Kind::Csv, &m_lastCSVPath});
}

CsvSaveResult Module1::SaveAsCSV(const QString& text, const QString& suggestedName)
{
    return saveCsvText(text,
                       {kCsvFilter, kCsvSuffix, m_saveFolders.startFolder(SaveFolders::Kind::Csv),
                        suggestedName, SaveFolders::Kind::Csv});
}

CsvSaveResult Module1::saveCsvText(const QString& text, const SaveKind& kind)
{
    // A text that cannot be stored is refused before the chooser opens: asking for a name
    // and then writing nothing would waste the user's choice.
    const Encoded encoded = encodeForFile(text + kLineEnd.toString());
    if (!encoded.valid)
        return failed({}, u"Shift_JIS を扱えません。"_s);
    if (encoded.unencodable != 0) {
        CsvSaveResult result;
        result.status = CsvSaveResult::Status::Unencodable;
        result.character = encoded.unencodable;
        return result;
    }

    return saveChosen(encoded.bytes, kind);
}

CsvSaveResult Module1::SaveAsPDF(const QByteArray& bytes, const QString& suggestedName)
{
    return saveChosen(bytes,
                      {kPdfFilter, kPdfSuffix, m_saveFolders.startFolder(SaveFolders::Kind::Pdf),
                       suggestedName, SaveFolders::Kind::Pdf});
}

CsvSaveResult Module1::saveChosen(const QByteArray& bytes, const SaveKind& kind)
{
    const CsvSaveResult result =
        saveThroughChooser(m_dialogs, m_owner.data(), m_saveFolders,
                           {kSaveTitle.toString(),
                            {kind.filter.toString(), kAllFilesFilter.toString()},
                            kind.suffix,
                            kind.kind,
                            kind.folder,
                            kind.fileName},
                           [&bytes] { return std::optional<QByteArray>(bytes); });
    // A declined replacement keeps the chosen name for the next export, as a confirmed
    // chooser does; a cancelled chooser offers none.
    if (kind.lastPath)
        *kind.lastPath = result.path;
    return result;
}

QString Module1::BrowseDataFile(QWidget* owner, const QString& currentFileText)
{
    const Dialogs::FileRequest request{
        kOpenTitle.toString(), {kAllFilesFilter.toString()}, currentFileText, {}};
    return m_dialogs.openFileName(owner, request);
}

} // namespace torvanu
