#include "support/access_keys.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace torvanu::test {

namespace {

QString withAccessKey(const QString& caption)
{
    return caption.isEmpty() || caption.contains(u'&') ? caption : u'&' + caption;
}

} // namespace

void addAccessKeys(QWidget* root)
{
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>())
        button->setText(withAccessKey(button->text()));
    for (QGroupBox* frame : root->findChildren<QGroupBox*>())
        frame->setTitle(withAccessKey(frame->title()));
    for (QTabBar* tabs : root->findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabText(i, withAccessKey(tabs->tabText(i)));
    }
}

} // namespace torvanu::test
