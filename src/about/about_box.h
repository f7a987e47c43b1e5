#pragma once

#include <QPointer>
#include <QString>

class QWidget;

namespace torvanu {

class Form2;
class Module1;

// Shows the About box for the Help menu. OK only hides the box, so the next showing reuses
// it; the close box discards it, and the next showing builds it anew.
class AboutBox
{
public:
    // linkAddress: the page the box's link shows and opens.
    AboutBox(const Module1& module, QString linkAddress, QWidget* owner);
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Modal over the owner; returns when the box is hidden or closed.
    void show();

    // The box kept for the next showing, if any.
    Form2* form() const;

private:
    const Module1& m_module;
    QString m_linkAddress;
    QPointer<QWidget> m_owner;
    QPointer<Form2> m_form;
};

} // namespace torvanu
