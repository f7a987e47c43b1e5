#include "tools/book_location_window.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kTitle = u"記録ファイルの場所";
// Japanese wraps between any two characters, so a label left to wrap splits words
// (「してく / ださい」): the lines break where a reader pauses, and nowhere else.
constexpr QStringView kSaveToText = u"大会記録はこのファイルに保存されます。\n"
                                    u"バックアップするときは、Torvanu を閉じてから\n"
                                    u"このファイルを別の場所へコピーしてください。";
constexpr QStringView kReadFromText = u"今回は前の版が使っていた次のファイルを読み込みました。\n"
                                      u"閉じるときに上のファイルへ保存します。";
constexpr QStringView kOpenFolderCaption = u"フォルダを開く(&O)";
constexpr QStringView kCloseCaption = u"閉じる";
constexpr int kPathWidthChars = 60;

QLineEdit* pathField(const QString& name, const QString& path, QWidget* parent)
{
    auto* field = new QLineEdit(QDir::toNativeSeparators(path), parent);
    field->setObjectName(name);
    // Read-only but selectable, so that the path can be copied into a file manager or shell.
    field->setReadOnly(true);
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * kPathWidthChars);
    field->setCursorPosition(0);
    return field;
}

QLabel* textLabel(const QString& name, QStringView text, QWidget* parent)
{
    auto* label = new QLabel(text.toString(), parent);
    label->setObjectName(name);
    return label;
}

} // namespace

BookLocationWindow::BookLocationWindow(const BookFiles& files,
                                       std::function<void(const QString&)> openFolder,
                                       QWidget* parent)
    : QDialog(parent), m_openFolder(std::move(openFolder))
{
    setObjectName(u"BookLocationWindow"_s);
    setWindowTitle(kTitle.toString());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textLabel(u"saveToLabel"_s, kSaveToText, this));
    layout->addWidget(pathField(u"saveToPath"_s, files.saveTo, this));
    if (files.readFrom != files.saveTo) {
        layout->addWidget(textLabel(u"readFromLabel"_s, kReadFromText, this));
        layout->addWidget(pathField(u"readFromPath"_s, files.readFrom, this));
    }

    auto* buttons = new QDialogButtonBox(this);
    auto* openButton =
        buttons->addButton(kOpenFolderCaption.toString(), QDialogButtonBox::ActionRole);
    openButton->setObjectName(u"openFolder"_s);
    auto* closeButton = buttons->addButton(kCloseCaption.toString(), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(u"close"_s);
    closeButton->setDefault(true);
    layout->addWidget(buttons);

    const QString folder = QFileInfo(files.saveTo).absolutePath();
    connect(openButton, &QPushButton::clicked, this, [this, folder] {
        if (m_openFolder)
            m_openFolder(folder);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

} // namespace torvanu
