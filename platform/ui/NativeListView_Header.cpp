// The list view's header: the child window over the view's header, its
// item rectangles and order, column resizing the parent may refuse, and the
// column messages.
#include "platform/ui/NativeListView_p.h"

#include "platform/gdi/ImageListPixmap_p.h"
#include "platform/ui/WindowCall_p.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace vxw::listview {

// The header: a window of its own (id 0) over the view's header widget.
class Header : public NativeControl, public QObject {
public:
    Header(ListView* list, HWND listHwnd) : m_list(list), m_listHwnd(listHwnd) {}

    QWidget* create(WindowRecord&, QWidget*) override { return nullptr; }

    void attach(QHeaderView* view)
    {
        m_view = view;
        view->viewport()->installEventFilter(this);
        QObject::connect(view, &QHeaderView::sectionClicked, view, [this](int logical) {
            NMHEADER nm{};
            nm.hdr.code = HDN_ITEMCLICKA;
            nm.iItem = logical;
            notify(&nm.hdr);
        });
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!Rec(m_listHwnd))
            return false;
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        switch (msg) {
        case HDM_GETITEMCOUNT:
            result = m_list->headerCount();
            return true;
        case HDM_GETITEMRECT: {
            auto* rc = reinterpret_cast<RECT*>(lParam);
            if (!rc || index < 0 || index >= m_list->headerCount()) {
                result = FALSE;
                return true;
            }
            *rc = m_list->headerItemRect(index);
            result = TRUE;
            return true;
        }
        case HDM_GETITEM:
            result = m_list->headerGetItem(index, reinterpret_cast<HDITEM*>(lParam)) ? TRUE : FALSE;
            return true;
        case HDM_SETITEM:
            result = m_list->headerSetItem(index, reinterpret_cast<const HDITEM*>(lParam)) ? TRUE : FALSE;
            return true;
        case HDM_ORDERTOINDEX:
            result = m_list->orderToIndex(index);
            return true;
        case HDM_GETORDERARRAY:
            if (lParam)
                m_list->getOrder(index, reinterpret_cast<int*>(lParam));
            result = TRUE;
            return true;
        case HDM_SETORDERARRAY:
            if (lParam)
                m_list->setOrder(index, reinterpret_cast<const int*>(lParam));
            result = TRUE;
            return true;
        default:
            return false;
        }
    }

protected:
    // A press on a divider starts a column resize: the parent may refuse it
    // (HDN_BEGINTRACK answered with TRUE).
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress || !m_view)
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() != Qt::LeftButton)
            return false;
        int x = me->position().toPoint().x();
        for (int v = 0; v < m_view->count(); ++v) {
            int logical = m_view->logicalIndex(v);
            if (m_view->isSectionHidden(logical))
                continue;
            int edge = m_view->sectionViewportPosition(logical) + m_view->sectionSize(logical);
            if (std::abs(x - edge) <= 4) {
                HDITEM item{};
                item.mask = HDI_WIDTH;
                item.cxy = m_view->sectionSize(logical);
                NMHEADER nm{};
                nm.hdr.code = HDN_BEGINTRACKA;
                nm.iItem = logical;
                nm.iButton = 0;
                nm.pitem = &item;
                if (notify(&nm.hdr))
                    return true;
                return false;
            }
        }
        return false;
    }

private:
    ListView* m_list;
    HWND m_listHwnd;
    QPointer<QHeaderView> m_view;
};

RECT ListView::headerItemRect(int col) const
{
    QHeaderView* h = m_view->horizontalHeader();
    int x = h->sectionViewportPosition(col);
    return RECT{x, 0, x + h->sectionSize(col), h->height()};
}

bool ListView::headerGetItem(int col, HDITEM* item) const
{
    if (!item || col < 0 || col >= columns())
        return false;
    const Column& c = m_columns[static_cast<size_t>(col)];
    if (item->mask & HDI_WIDTH)
        item->cxy = m_view->horizontalHeader()->sectionSize(col);
    if ((item->mask & HDI_TEXT) && item->pszText)
        CopyOut(c.text, item->pszText, item->cchTextMax);
    if (item->mask & HDI_FORMAT)
        item->fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
    if (item->mask & HDI_ORDER)
        item->iOrder = m_view->horizontalHeader()->visualIndex(col);
    if (item->mask & HDI_IMAGE)
        item->iImage = c.image;
    return true;
}

bool ListView::headerSetItem(int col, const HDITEM* item)
{
    if (!item || col < 0 || col >= columns())
        return false;
    Column& c = m_columns[static_cast<size_t>(col)];
    if (item->mask & HDI_WIDTH)
        m_view->horizontalHeader()->resizeSection(col, item->cxy);
    if ((item->mask & HDI_TEXT) && item->pszText)
        c.text = item->pszText;
    if (item->mask & HDI_FORMAT)
        c.fmt = item->fmt & LVCFMT_JUSTIFYMASK;
    if (item->mask & HDI_ORDER) {
        int from = m_view->horizontalHeader()->visualIndex(col);
        if (from != item->iOrder)
            m_view->horizontalHeader()->moveSection(from, item->iOrder);
    }
    m_model->changedHeader(col);
    return true;
}

void ListView::onHeaderClick(int column)
{
    NMLISTVIEW nm{};
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    notify(&nm.hdr);
}

// Column messages, and the header child's notices passed on to the parent.
bool ListView::handleColumns(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
    case LVM_INSERTCOLUMN: {
        auto* c = reinterpret_cast<const LVCOLUMN*>(lParam);
        if (!c) {
            result = -1;
            return true;
        }
        int at = index < 0 || index > columns() ? columns() : index;
        Column col;
        if ((c->mask & LVCF_TEXT) && c->pszText)
            col.text = c->pszText;
        if (c->mask & LVCF_FMT)
            col.fmt = c->fmt;
        if (c->mask & LVCF_WIDTH)
            col.width = c->cx;
        if (c->mask & LVCF_IMAGE)
            col.image = c->iImage;
        m_model->beginInsertColumns(QModelIndex(), at, at);
        m_columns.insert(m_columns.begin() + at, col);
        for (Item& item : m_items) {
            // A new column shifts the sub-items after it, as the classic
            // control does; the first column always stays the item itself.
            size_t pos = static_cast<size_t>(std::max(at, 1));
            if (item.texts.size() < m_columns.size() - 1) {
                item.texts.resize(m_columns.size() - 1);
                item.images.resize(m_columns.size() - 1, -1);
                item.callback.resize(m_columns.size() - 1, false);
            }
            if (pos <= item.texts.size()) {
                item.texts.insert(item.texts.begin() + static_cast<long>(pos), std::string());
                item.images.insert(item.images.begin() + static_cast<long>(pos), -1);
                item.callback.insert(item.callback.begin() + static_cast<long>(pos), false);
            }
        }
        m_model->endInsertColumns();
        m_view->horizontalHeader()->resizeSection(at, col.width);
        result = at;
        return true;
    }
    case LVM_DELETECOLUMN:
        if (index < 0 || index >= columns()) {
            result = FALSE;
            return true;
        }
        m_model->beginRemoveColumns(QModelIndex(), index, index);
        m_columns.erase(m_columns.begin() + index);
        for (Item& item : m_items) {
            if (static_cast<size_t>(index) < item.texts.size()) {
                item.texts.erase(item.texts.begin() + index);
                item.images.erase(item.images.begin() + index);
                item.callback.erase(item.callback.begin() + index);
            }
        }
        m_model->endRemoveColumns();
        result = TRUE;
        return true;
    case LVM_GETCOLUMN: {
        auto* c = reinterpret_cast<LVCOLUMN*>(lParam);
        if (!c || index < 0 || index >= columns()) {
            result = FALSE;
            return true;
        }
        const Column& col = m_columns[static_cast<size_t>(index)];
        if (c->mask & LVCF_FMT)
            c->fmt = col.fmt;
        if (c->mask & LVCF_WIDTH)
            c->cx = m_view->horizontalHeader()->sectionSize(index);
        if ((c->mask & LVCF_TEXT) && c->pszText)
            CopyOut(col.text, c->pszText, c->cchTextMax);
        if (c->mask & LVCF_SUBITEM)
            c->iSubItem = index;
        if (c->mask & LVCF_ORDER)
            c->iOrder = m_view->horizontalHeader()->visualIndex(index);
        if (c->mask & LVCF_IMAGE)
            c->iImage = col.image;
        result = TRUE;
        return true;
    }
    case LVM_SETCOLUMN: {
        auto* c = reinterpret_cast<const LVCOLUMN*>(lParam);
        if (!c || index < 0 || index >= columns()) {
            result = FALSE;
            return true;
        }
        Column& col = m_columns[static_cast<size_t>(index)];
        if ((c->mask & LVCF_TEXT) && c->pszText)
            col.text = c->pszText;
        if (c->mask & LVCF_FMT)
            col.fmt = c->fmt;
        if (c->mask & LVCF_IMAGE)
            col.image = c->iImage;
        if (c->mask & LVCF_WIDTH)
            m_view->horizontalHeader()->resizeSection(index, c->cx);
        m_model->changedHeader(index);
        m_model->changedAll();
        result = TRUE;
        return true;
    }
    case LVM_GETCOLUMNWIDTH:
        result = index >= 0 && index < columns() ? m_view->horizontalHeader()->sectionSize(index) : 0;
        return true;
    case LVM_SETCOLUMNWIDTH: {
        if (index < 0 || index >= columns()) {
            result = FALSE;
            return true;
        }
        int cx = static_cast<int>(static_cast<short>(LOWORD(lParam)));
        if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER)
            m_view->resizeColumnToContents(index);
        else
            m_view->horizontalHeader()->resizeSection(index, std::max(0, cx));
        result = TRUE;
        return true;
    }
    case LVM_GETHEADER:
        result = reinterpret_cast<LRESULT>(m_header);
        return true;
    case LVM_SETCOLUMNORDERARRAY:
        if (lParam)
            setOrder(index, reinterpret_cast<const int*>(lParam));
        result = TRUE;
        return true;
    case LVM_GETCOLUMNORDERARRAY:
        if (lParam)
            getOrder(index, reinterpret_cast<int*>(lParam));
        result = TRUE;
        return true;
    case WM_NOTIFY: {
        // The header's notices go on to the list's parent.
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom == m_header) {
            result = forwardHeaderNotify(hdr);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void ListView::created()
{
    WindowRecord* r = rec();
    if (!r)
        return;
    // The header is a window of its own, made over the view's header.
    auto rec = std::make_unique<WindowRecord>();
    rec->className = WC_HEADER;
    rec->parent = hwnd;
    rec->id = 0;
    rec->style = WS_CHILD | WS_VISIBLE | HDS_BUTTONS;
    rec->borrowedWidget = true;
    auto header = std::make_unique<Header>(this, hwnd);
    Header* hp = header.get();
    rec->native = std::move(header);
    rec->widget = m_view->horizontalHeader();
    HWND h = WindowRegistry::instance().add(std::move(rec));
    hp->hwnd = h;
    hp->attach(m_view->horizontalHeader());
    LinkChild(hwnd, h);
    m_header = h;
    AttachWidget(*Rec(h));
    MirrorWidgetState(h);
}

}  // namespace vxw::listview
