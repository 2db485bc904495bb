// Tracking a popup menu: a QMenu built from the menu's items for the time it
// is shown, run in its own nested loop. Owner-drawn items are widgets that
// ask the owner window to measure and draw them; keys that match no
// mnemonic go to the owner as WM_MENUCHAR.
#include "platform/ui/Menu_p.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <QWidgetAction>

namespace {

vxw::test::PopupMenuHook g_hook;

// Sends the owner-draw message; when the owner leaves it, the menu's own
// object (if it has one) does the work.
void Measure(HWND owner, HMENU menu, MEASUREITEMSTRUCT& mis)
{
    LRESULT handled = owner ? ::SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) : 0;
    if (!handled)
        if (CMenu* m = CMenu::FromHandlePermanent(menu))
            m->MeasureItem(&mis);
}

void Draw(HWND owner, HMENU menu, DRAWITEMSTRUCT& dis)
{
    LRESULT handled = owner ? ::SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) : 0;
    if (!handled)
        if (CMenu* m = CMenu::FromHandlePermanent(menu))
            m->DrawItem(&dis);
}

// One owner-drawn row: a command, a separator or the entry of a sub-menu.
// The owner measures it once and draws it at every paint; the row spans the
// menu's full width, as the highlight of a chosen row does. Mouse input
// passes through to the menu, which tracks, highlights and chooses the row
// as it does its own items.
class OwnerDrawnItem : public QWidget {
public:
    OwnerDrawnItem(HWND owner, HMENU menu, const vxw::MenuItem& item, QAction* action)
        : m_owner(owner), m_menu(menu), m_item(item), m_action(action)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, ItemId(), 0, 0, item.itemData};
        Measure(owner, menu, mis);
        m_size = QSize(static_cast<int>(std::max<UINT>(mis.itemWidth, 1)),
                       static_cast<int>(std::max<UINT>(mis.itemHeight, 1)));
        // The menu widens the row to its own width; only the height is the
        // owner's.
        setMinimumSize(m_size);
        setMaximumHeight(m_size.height());
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        auto* qm = qobject_cast<QMenu*>(parentWidget());
        bool hot = qm && m_action && qm->activeAction() == m_action;
        // The painting DC of this widget, as a window's WM_PAINT gets one.
        HDC hdc = vxgdi::CreateWindowDc(this, size());
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = ItemId();
        dis.itemAction = ODA_DRAWENTIRE;
        if (hot)
            dis.itemState |= ODS_SELECTED;
        if (m_item.flags & MF_GRAYED)
            dis.itemState |= ODS_GRAYED;
        if (m_item.flags & (MF_GRAYED | MF_DISABLED))
            dis.itemState |= ODS_DISABLED;
        if (m_item.flags & MF_CHECKED)
            dis.itemState |= ODS_CHECKED;
        if (m_item.flags & MF_DEFAULT)
            dis.itemState |= ODS_DEFAULT;
        dis.hwndItem = reinterpret_cast<HWND>(m_menu);
        dis.hDC = hdc;
        dis.rcItem = RECT{0, 0, width(), height()};
        dis.itemData = m_item.itemData;
        Draw(m_owner, m_menu, dis);
        vxw::ReleasePaintDc(hdc);
        // The arrow of a sub-menu's entry is the menu's, drawn over the
        // owner's row.
        if (m_item.flags & MF_POPUP) {
            QPainter p(this);
            QStyleOption opt;
            opt.initFrom(this);
            int side = std::min(height(), 16);
            opt.rect = QRect(width() - side - 2, (height() - side) / 2, side, side);
            style()->drawPrimitive(QStyle::PE_IndicatorArrowRight, &opt, &p, this);
        }
    }

private:
    // A sub-menu's entry names its menu's handle, as the desktop does.
    UINT ItemId() const { return static_cast<UINT>(m_item.id); }

    HWND m_owner;
    HMENU m_menu;
    vxw::MenuItem m_item;
    QPointer<QAction> m_action;
    QSize m_size;
};

class PopupMenu : public QMenu {
public:
    PopupMenu(HMENU menu, HWND owner, QWidget* parent) : QMenu(parent), m_menu(menu), m_owner(owner) {}
    std::vector<QAction*> byIndex;  // the action of each item, by position

protected:
    // A key that names an item (its mnemonic, or the owner's answer to
    // WM_MENUCHAR) chooses it as Enter on it would: a command ends the
    // tracking with that command, a sub-menu opens on its first item.
    void keyPressEvent(QKeyEvent* e) override
    {
        QString t = e->text();
        if (t.size() == 1 && t[0].isPrint() && !t[0].isSpace()) {
            int index = vxw::MenuCharIndex(m_menu, m_owner, static_cast<char>(t[0].toLatin1()));
            if (index >= 0 && index < static_cast<int>(byIndex.size()) && byIndex[static_cast<size_t>(index)]) {
                QAction* a = byIndex[static_cast<size_t>(index)];
                if (a->isEnabled() && !a->isSeparator()) {
                    setActiveAction(a);
                    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                    QMenu::keyPressEvent(&enter);
                }
                return;
            }
        }
        QMenu::keyPressEvent(e);
    }

private:
    HMENU m_menu;
    HWND m_owner;
};

PopupMenu* BuildMenu(HMENU h, HWND owner, QWidget* parent, int depth)
{
    auto* qm = new PopupMenu(h, owner, parent);
    vxw::MenuObj* m = vxw::Menu(h);
    if (!m || depth > 32)
        return qm;
    // The owner may update the menu before it shows.
    if (owner)
        ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(h), 0);
    m = vxw::Menu(h);
    if (!m)
        return qm;
    for (const vxw::MenuItem& it : m->items) {
        QAction* a = nullptr;
        if (it.flags & MF_OWNERDRAW) {
            // The owner draws the row, whatever it is: the entry of a
            // sub-menu and a separator too.
            auto* wa = new QWidgetAction(qm);
            if (it.flags & MF_POPUP)
                wa->setMenu(BuildMenu(reinterpret_cast<HMENU>(it.id), owner, qm, depth + 1));
            wa->setDefaultWidget(new OwnerDrawnItem(owner, h, it, wa));
            if (it.flags & MF_SEPARATOR)
                wa->setEnabled(false);
            qm->addAction(wa);
            a = wa;
        } else if (it.flags & MF_SEPARATOR) {
            a = qm->addSeparator();
        } else if (it.flags & MF_POPUP) {
            PopupMenu* sub = BuildMenu(reinterpret_cast<HMENU>(it.id), owner, qm, depth + 1);
            sub->setTitle(QString::fromStdString(it.text));
            a = qm->addMenu(sub);
        } else {
            a = qm->addAction(QString::fromStdString(it.text));
        }
        if (!(it.flags & MF_SEPARATOR)) {
            a->setData(QVariant::fromValue<qulonglong>(it.id));
            a->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
            if (it.flags & MF_CHECKED) {
                a->setCheckable(true);
                a->setChecked(true);
            }
            if (it.flags & MF_DEFAULT) {
                QFont f = a->font();
                f.setBold(true);
                a->setFont(f);
            }
        }
        qm->byIndex.push_back(a);
    }
    return qm;
}

// Whether a person could choose the command: present, enabled, a command.
bool Choosable(HMENU menu, UINT id, int depth = 0)
{
    vxw::MenuObj* m = vxw::Menu(menu);
    if (!m || depth > 32)
        return false;
    for (const vxw::MenuItem& it : m->items) {
        if (it.flags & MF_POPUP) {
            if (!(it.flags & (MF_GRAYED | MF_DISABLED)) && Choosable(reinterpret_cast<HMENU>(it.id), id, depth + 1))
                return true;
        } else if (!(it.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) && it.id == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace vxw::test {
void SetPopupMenuHook(PopupMenuHook hook)
{
    g_hook = std::move(hook);
}
}  // namespace vxw::test

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT)
{
    if (!vxw::Menu(menu))
        return FALSE;
    UINT chosen = 0;
    if (g_hook) {
        if (owner)
            ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        chosen = g_hook(vxw::test::PopupMenuCall{menu, flags, x, y, owner});
        if (chosen && !Choosable(menu, chosen))
            chosen = 0;
    } else {
        QPointer<PopupMenu> qm = BuildMenu(menu, owner, vxw::WidgetOf(owner), 0);
        QPoint at(x, y);
        QSize hint = qm->sizeHint();
        if (flags & TPM_RIGHTALIGN)
            at.rx() -= hint.width();
        else if (flags & TPM_CENTERALIGN)
            at.rx() -= hint.width() / 2;
        if (flags & TPM_BOTTOMALIGN)
            at.ry() -= hint.height();
        else if (flags & TPM_VCENTERALIGN)
            at.ry() -= hint.height() / 2;
        QAction* a = qm->exec(at);
        if (a && !a->menu() && a->isEnabled())
            chosen = static_cast<UINT>(a->data().toULongLong());
        delete qm.data();
    }
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && owner && !(flags & TPM_NONOTIFY))
        ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}
