#include "about_box.h"

#include "about/form2.h"
#include "shell/module1.h"

#include <QWidget>

#include <utility>

namespace torvanu {

AboutBox::AboutBox(const Module1& module, QString linkAddress, QWidget* owner)
    : m_module(module), m_linkAddress(std::move(linkAddress)), m_owner(owner)
{
}

AboutBox::~AboutBox()
{
    delete m_form.data();
}

Form2* AboutBox::form() const
{
    return m_form.data();
}

void AboutBox::show()
{
    if (!m_form) {
        const Module1& module = m_module;
        m_form = new Form2(
            m_linkAddress, [&module](const QString& target) { module.ShellOpen(target); },
            m_owner.data());
    }
    m_form->exec();
    // Deleted here rather than on close: the next showing must find it gone at once, not
    // after the event loop gets round to a deferred delete.
    if (m_form && m_form->closedByCloseBox())
        delete m_form.data();
}

} // namespace torvanu
