#include "book_choice.h"

#include "records/log_file.h"
#include "shell/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kQuestion = u"記録ファイルが 2 つあります。どちらを使いますか？";
constexpr QStringView kOlderBook = u"1. 以前の版がプログラムのフォルダーに残した記録";
constexpr QStringView kUserBook = u"2. データフォルダーの記録";
constexpr QStringView kDetails = u"%1\r\n更新日時：%2　記録：%3 件";
constexpr QStringView kNeverWritten = u"選ばなかったほうのファイルには書き込みません。";
constexpr QStringView kUseOlder = u"1 を使う";
constexpr QStringView kUseUser = u"2 を使う";

QString details(const QString& folder)
{
    LogFile book(folder);
    const QFileInfo info(book.filePath());
    const LogLoadResult loaded = book.load();
    return kDetails.toString().arg(QDir::toNativeSeparators(info.absoluteFilePath()),
                                   info.lastModified().toString(u"yyyy/MM/dd HH:mm"_s),
                                   QString::number(loaded.lines.size()));
}

} // namespace

std::optional<QString> chooseBook(Dialogs& dialogs, QWidget* owner, const QString& olderFolder,
                                  const QString& userFolder)
{
    if (olderFolder.isEmpty() || userFolder.isEmpty())
        return std::nullopt;
    const LogFile older(olderFolder);
    const LogFile user(userFolder);
    const QFileInfo olderInfo(older.filePath());
    const QFileInfo userInfo(user.filePath());
    if (!olderInfo.isFile() || !userInfo.isFile() ||
        olderInfo.canonicalFilePath() == userInfo.canonicalFilePath())
        return std::nullopt;
    const LogFileState olderState = older.currentState();
    const LogFileState userState = user.currentState();
    // The same bytes: nothing to choose, the user's folder is where the book lives.
    if (olderState.digest && olderState.digest == userState.digest)
        return userFolder;

    const QString text = kQuestion.toString() + u"\r\n\r\n"_s + kOlderBook.toString() + u"\r\n"_s +
                         details(olderFolder) + u"\r\n\r\n"_s + kUserBook.toString() + u"\r\n"_s +
                         details(userFolder) + u"\r\n\r\n"_s + kNeverWritten.toString();
    // Offered first is the book written last, the one older versions read on their own.
    const int newer = olderInfo.lastModified() > userInfo.lastModified() ? 0 : 1;
    const int choice = dialogs.choose(owner, text, Dialogs::Icon::Information,
                                      {kUseOlder.toString(), kUseUser.toString()}, newer, 1);
    return choice == 0 ? olderFolder : userFolder;
}

} // namespace torvanu
