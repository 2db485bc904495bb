// The LISTBOX class: single or multiple selection, items with data.
#include "platform/ui/NativeControl_p.h"

#include <QListWidget>
#include <QPointer>

namespace vxw {

namespace {

class ListBox : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_list = new QListWidget(parent);
        m_sorted = (r.style & LBS_SORT) != 0;
        m_notify = (r.style & LBS_NOTIFY) != 0;
        if (r.style & LBS_NOSEL)
            m_list->setSelectionMode(QAbstractItemView::NoSelection);
        else if (r.style & LBS_EXTENDEDSEL)
            m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (r.style & LBS_MULTIPLESEL)
            m_list->setSelectionMode(QAbstractItemView::MultiSelection);
        else
            m_list->setSelectionMode(QAbstractItemView::SingleSelection);
        m_list->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(m_list, &QListWidget::itemSelectionChanged, m_list, [this] {
            if (!m_silent && m_notify)
                notifyCommand(LBN_SELCHANGE);
        });
        QObject::connect(m_list, &QListWidget::itemDoubleClicked, m_list, [this] {
            if (m_notify)
                notifyCommand(LBN_DBLCLK);
        });
        return m_list;
    }

    std::vector<QWidget*> inputWidgets() override { return {m_list->viewport()}; }
    QPoint inputOffset(QWidget* input) const override { return input->pos(); }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_list)
            return false;
        bool was = m_silent;
        m_silent = true;
        bool handled = run(msg, wParam, lParam, result);
        m_silent = was;
        return handled;
    }

private:
    bool run(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        int count = m_list->count();
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto text = [&] { return ToQ(lParam ? reinterpret_cast<const char*>(lParam) : ""); };
        auto valid = [&] { return index >= 0 && index < count; };
        switch (msg) {
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            QString t = text();
            int at = msg == LB_INSERTSTRING && index >= 0 && index <= count ? index : count;
            if (msg == LB_ADDSTRING && m_sorted) {
                at = 0;
                while (at < count && m_list->item(at)->text().compare(t, Qt::CaseInsensitive) <= 0)
                    ++at;
            }
            auto* item = new QListWidgetItem(t);
            item->setData(Qt::UserRole, qlonglong(0));
            m_list->insertItem(at, item);
            result = at;
            return true;
        }
        case LB_DELETESTRING:
            if (!valid()) {
                result = LB_ERR;
                return true;
            }
            delete m_list->takeItem(index);
            result = m_list->count();
            return true;
        case LB_RESETCONTENT:
            m_list->clear();
            result = 0;
            return true;
        case LB_GETCOUNT:
            result = count;
            return true;
        case LB_GETCURSEL:
            result = m_list->currentRow() >= 0 && m_list->currentItem() && m_list->currentItem()->isSelected()
                         ? m_list->currentRow()
                         : LB_ERR;
            return true;
        case LB_SETCURSEL:
            if (!valid()) {
                m_list->clearSelection();
                m_list->setCurrentRow(-1);
                result = LB_ERR;
                return true;
            }
            m_list->setCurrentRow(index);
            result = index;
            return true;
        case LB_SETSEL: {
            int i = static_cast<int>(lParam);
            for (int k = 0; k < count; ++k) {
                if (i == -1 || k == i)
                    m_list->item(k)->setSelected(wParam != 0);
            }
            result = 0;
            return true;
        }
        case LB_GETSEL:
            result = valid() ? (m_list->item(index)->isSelected() ? 1 : 0) : LB_ERR;
            return true;
        case LB_GETSELCOUNT:
            result = static_cast<LRESULT>(m_list->selectedItems().size());
            return true;
        case LB_GETSELITEMS: {
            int max = index;
            auto* out = reinterpret_cast<int*>(lParam);
            int n = 0;
            for (int k = 0; k < count && n < max; ++k) {
                if (m_list->item(k)->isSelected())
                    out[n++] = k;
            }
            result = n;
            return true;
        }
        case LB_GETTEXT:
            result = valid() ? CopyOut(FromQ(m_list->item(index)->text()), reinterpret_cast<char*>(lParam), 0x7FFFFFFF)
                             : LB_ERR;
            return true;
        case LB_GETTEXTLEN:
            result = valid() ? static_cast<LRESULT>(FromQ(m_list->item(index)->text()).size()) : LB_ERR;
            return true;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
        case LB_SELECTSTRING: {
            QString t = text();
            result = LB_ERR;
            for (int k = 1; k <= count; ++k) {
                int i = ((index < 0 ? -1 : index) + k) % count;
                QString item = m_list->item(i)->text();
                bool hit = msg == LB_FINDSTRINGEXACT ? item.compare(t, Qt::CaseInsensitive) == 0
                                                     : item.startsWith(t, Qt::CaseInsensitive);
                if (hit) {
                    result = i;
                    if (msg == LB_SELECTSTRING)
                        m_list->setCurrentRow(i);
                    break;
                }
            }
            return true;
        }
        case LB_GETITEMDATA:
            result = valid() ? static_cast<LRESULT>(m_list->item(index)->data(Qt::UserRole).toLongLong()) : LB_ERR;
            return true;
        case LB_SETITEMDATA:
            if (!valid()) {
                result = LB_ERR;
                return true;
            }
            m_list->item(index)->setData(Qt::UserRole, qlonglong(lParam));
            result = TRUE;
            return true;
        case LB_GETTOPINDEX: {
            QListWidgetItem* top = m_list->itemAt(2, 2);
            result = top ? m_list->row(top) : 0;
            return true;
        }
        case LB_SETTOPINDEX:
            if (valid())
                m_list->scrollToItem(m_list->item(index), QAbstractItemView::PositionAtTop);
            result = valid() ? 0 : LB_ERR;
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return true;
        default:
            return false;
        }
    }

    QPointer<QListWidget> m_list;
    bool m_sorted = false;
    bool m_notify = false;
    bool m_silent = false;
};

}  // namespace

std::unique_ptr<NativeControl> MakeListBox()
{
    return std::make_unique<ListBox>();
}

}  // namespace vxw
