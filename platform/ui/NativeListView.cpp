// The list view class (report view), its view part: the Qt table view, the
// mouse (clicks, activation, the drag start), selection and focus notices,
// item rectangles, hit-testing, scrolling, extended styles, colours and
// redraw. The items live in NativeListView_Model.cpp, the header child and
// the column messages in NativeListView_Header.cpp.
#include "platform/ui/NativeListView_p.h"

#include "platform/gdi/ImageListPixmap_p.h"
#include "platform/ui/WindowCall_p.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace vxw {

namespace listview {

QWidget* ListView::create(WindowRecord& r, QWidget* parent)
{
    m_virtual = (r.style & LVS_OWNERDATA) != 0;
    m_model = new ListModel(this);
    m_view = new QTableView(parent);
    m_model->setParent(m_view);
    m_view->setModel(m_model);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode((r.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                       : QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setDragEnabled(false);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Lists scroll by whole rows: the top row is never cut by the header.
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_view->verticalHeader()->hide();
    int rowHeight = QFontMetrics(m_view->font()).height() + 4;
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* h = m_view->horizontalHeader();
    h->setStretchLastSection(false);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setSectionsClickable(!(r.style & LVS_NOSORTHEADER));
    h->setHighlightSections(false);
    h->setMinimumSectionSize(0);
    if (r.style & LVS_NOCOLUMNHEADER)
        h->hide();
    m_view->viewport()->installEventFilter(this);
    h->viewport()->installEventFilter(this);
    QObject::connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, m_view,
                     [this](const QItemSelection& sel, const QItemSelection& desel) { onSelection(sel, desel); });
    QObject::connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, m_view,
                     [this](const QModelIndex& now, const QModelIndex& before) { onCurrent(now, before); });
    QObject::connect(h, &QHeaderView::sectionClicked, m_view, [this](int c) { onHeaderClick(c); });
    QObject::connect(h, &QHeaderView::sectionResized, m_view, [this](int c, int, int size) {
        if (c >= 0 && c < static_cast<int>(m_columns.size()))
            m_columns[static_cast<size_t>(c)].width = size;
    });
    return m_view;
}

bool ListView::handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!m_view)
        return false;
    return handleItems(msg, wParam, lParam, result) || handleColumns(msg, wParam, lParam, result)
           || handleView(msg, wParam, lParam, result);
}

// View messages: scrolling, rectangles, hit-testing, styles, colours, redraw.
bool ListView::handleView(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        DWORD old = m_exStyle;
        m_exStyle = (m_exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
        applyExtended();
        result = static_cast<LRESULT>(old);
        return true;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        result = static_cast<LRESULT>(m_exStyle);
        return true;
    case LVM_SETIMAGELIST: {
        int which = std::clamp(index, 0, 2);
        result = reinterpret_cast<LRESULT>(m_images[which]);
        m_images[which] = reinterpret_cast<HIMAGELIST>(lParam);
        m_model->changedAll();
        return true;
    }
    case LVM_GETIMAGELIST:
        result = reinterpret_cast<LRESULT>(m_images[std::clamp(index, 0, 2)]);
        return true;
    case LVM_GETTOPINDEX: {
        // The first row shown whole.
        int top = m_view->rowAt(0);
        if (top >= 0 && m_view->rowViewportPosition(top) < 0 && validRow(top + 1))
            ++top;
        result = top < 0 ? 0 : top;
        return true;
    }
    case LVM_GETCOUNTPERPAGE:
        result = std::max(0, m_view->viewport()->height() / std::max(1, rowHeight()));
        return true;
    case LVM_ENSUREVISIBLE:
        if (validRow(index))
            m_view->scrollTo(m_model->index(index, 0), QAbstractItemView::EnsureVisible);
        result = validRow(index) ? TRUE : FALSE;
        return true;
    case LVM_SCROLL:
        m_view->horizontalScrollBar()->setValue(m_view->horizontalScrollBar()->value() + index);
        m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->value()
                                              + static_cast<int>(lParam) / std::max(1, rowHeight()));
        result = TRUE;
        return true;
    case LVM_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        result = rc && itemRect(index, -1, rc->left, rc) ? TRUE : FALSE;
        return true;
    }
    case LVM_GETSUBITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        if (!rc) {
            result = FALSE;
            return true;
        }
        int sub = rc->top;
        int code = rc->left;
        result = itemRect(index, sub == 0 && code == LVIR_BOUNDS ? -1 : sub, code, rc) ? TRUE : FALSE;
        return true;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST:
        result = lParam ? hitTest(*reinterpret_cast<LVHITTESTINFO*>(lParam)) : -1;
        return true;
    case LVM_REDRAWITEMS:
    case LVM_UPDATE:
        m_view->viewport()->update();
        result = TRUE;
        return true;
    case LVM_SETBKCOLOR:
        m_bk = static_cast<COLORREF>(lParam);
        result = TRUE;
        return true;
    case LVM_GETBKCOLOR:
        result = m_bk;
        return true;
    case LVM_SETTEXTCOLOR:
        m_text = static_cast<COLORREF>(lParam);
        result = TRUE;
        return true;
    case LVM_SETTEXTBKCOLOR:
        result = TRUE;
        return true;
    case WM_SETREDRAW:
        m_view->setUpdatesEnabled(wParam != 0);
        m_view->viewport()->setUpdatesEnabled(wParam != 0);
        if (wParam)
            m_view->viewport()->update();
        if (WindowRecord* r = rec())
            r->redraw = wParam != 0;
        result = 0;
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    default:
        return false;
    }
}

bool ListView::itemRect(int row, int col, int code, RECT* rc) const
{
    if (!rc || !validRow(row))
        return false;
    QPoint o = viewportOrigin();
    QRect r;
    if (col < 0) {
        // The whole row across every column.
        QHeaderView* h = m_view->horizontalHeader();
        int left = -h->offset();
        int width = h->length();
        QRect cell = m_view->visualRect(m_model->index(row, 0));
        if (!cell.isValid())
            cell = QRect(0, m_view->rowViewportPosition(row), 0, rowHeight());
        r = QRect(left, cell.top(), width, cell.height());
        if (code == LVIR_LABEL || code == LVIR_ICON) {
            QRect c0 = m_view->visualRect(m_model->index(row, 0));
            if (c0.isValid())
                r = QRect(c0.left(), c0.top(), c0.width(), c0.height());
            int icon = m_images[LVSIL_SMALL] ? 16 : 0;
            if (code == LVIR_ICON)
                r.setWidth(icon);
            else
                r.setLeft(r.left() + icon);
        }
    } else {
        if (col >= columns())
            return false;
        r = m_view->visualRect(m_model->index(row, col));
        if (!r.isValid())
            r = QRect(m_view->columnViewportPosition(col), m_view->rowViewportPosition(row), m_view->columnWidth(col),
                      rowHeight());
    }
    r.translate(o);
    *rc = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return true;
}

int ListView::hitTest(LVHITTESTINFO& info) const
{
    QPoint p(info.pt.x, info.pt.y);
    QRect vp = m_view->viewport()->geometry();
    info.flags = 0;
    info.iItem = -1;
    info.iSubItem = 0;
    if (p.y() < vp.top())
        info.flags |= LVHT_ABOVE;
    else if (p.y() >= vp.bottom() + 1)
        info.flags |= LVHT_BELOW;
    if (p.x() < vp.left())
        info.flags |= LVHT_TOLEFT;
    else if (p.x() >= vp.right() + 1)
        info.flags |= LVHT_TORIGHT;
    if (info.flags)
        return -1;
    QPoint v = p - vp.topLeft();
    int row = m_view->rowAt(v.y());
    int col = m_view->columnAt(v.x());
    if (row < 0 || col < 0) {
        info.flags = LVHT_NOWHERE;
        return -1;
    }
    info.flags = LVHT_ONITEMLABEL;
    info.iItem = row;
    info.iSubItem = col;
    return row;
}

void ListView::notifyChanged(int row, UINT newState, UINT oldState)
{
    NMLISTVIEW nm{};
    nm.hdr.code = LVN_ITEMCHANGED;
    nm.iItem = row;
    nm.iSubItem = 0;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = LVIF_STATE;
    nm.lParam = !m_virtual && validRow(row) ? m_items[static_cast<size_t>(row)].param : 0;
    notify(&nm.hdr);
}

void ListView::onSelection(const QItemSelection& sel, const QItemSelection& desel)
{
    if (m_silentSelection)
        return;
    HWND self = hwnd;
    auto each = [&](const QItemSelection& s, bool selected) {
        for (const QItemSelectionRange& range : s) {
            // A change of very many rows at once is one notice for all (-1).
            if (range.bottom() - range.top() > 1000) {
                notifyChanged(-1, selected ? LVIS_SELECTED : 0, selected ? 0 : LVIS_SELECTED);
                continue;
            }
            for (int row = range.top(); row <= range.bottom() && ::IsWindow(self); ++row) {
                UINT now = stateOf(row);
                notifyChanged(row, now, selected ? (now & ~static_cast<UINT>(LVIS_SELECTED)) : (now | LVIS_SELECTED));
            }
        }
    };
    each(desel, false);
    if (::IsWindow(self))
        each(sel, true);
}

void ListView::onCurrent(const QModelIndex& now, const QModelIndex& before)
{
    if (m_silentSelection)
        return;
    if (before.isValid() && before.row() != now.row() && validRow(before.row()))
        notifyChanged(before.row(), stateOf(before.row()), stateOf(before.row()) | LVIS_FOCUSED);
    if (now.isValid() && ::IsWindow(hwnd)) {
        m_selectionMark = now.row();
        notifyChanged(now.row(), stateOf(now.row()), stateOf(now.row()) & ~static_cast<UINT>(LVIS_FOCUSED));
    }
}

void ListView::sendItemActivate(UINT code, QPoint client)
{
    LVHITTESTINFO info{};
    info.pt = POINT{client.x(), client.y()};
    hitTest(info);
    NMITEMACTIVATE nm{};
    nm.hdr.code = code;
    nm.iItem = info.iItem;
    nm.iSubItem = info.iSubItem;
    nm.ptAction = info.pt;
    Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    nm.uKeyFlags = (mods & Qt::ShiftModifier ? 0x0004 : 0) | (mods & Qt::ControlModifier ? 0x0001 : 0);
    notify(&nm.hdr);
}

bool ListView::eventFilter(QObject* o, QEvent* e)
{
    if (!m_view || o != m_view->viewport())
        return false;
    auto* me = dynamic_cast<QMouseEvent*>(e);
    if (!me)
        return false;
    QPoint client = me->position().toPoint() + viewportOrigin();
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        if (me->button() == Qt::LeftButton) {
            m_pressRow = m_view->rowAt(me->position().toPoint().y());
            m_pressPos = me->position().toPoint();
            m_dragSent = false;
        }
        return false;
    case QEvent::MouseMove:
        if ((me->buttons() & Qt::LeftButton) && m_pressRow >= 0 && !m_dragSent
            && (me->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragSent = true;
            NMLISTVIEW nm{};
            nm.hdr.code = LVN_BEGINDRAG;
            nm.iItem = m_pressRow;
            nm.ptAction = POINT{m_pressPos.x() + viewportOrigin().x(), m_pressPos.y() + viewportOrigin().y()};
            nm.lParam = !m_virtual && validRow(m_pressRow) ? m_items[static_cast<size_t>(m_pressRow)].param : 0;
            notify(&nm.hdr);
            // The drag is the program's now: the view must not keep
            // extending its selection under the mouse.
            return true;
        }
        return m_dragSent && (me->buttons() & Qt::LeftButton);
    case QEvent::MouseButtonRelease:
        if (me->button() == Qt::LeftButton) {
            // The parent may destroy the list while it handles the click:
            // nothing of this object is touched afterwards.
            bool dragged = m_dragSent;
            m_pressRow = -1;
            m_dragSent = false;
            if (!dragged)
                sendItemActivate(NM_CLICK, client);
        } else if (me->button() == Qt::RightButton) {
            sendItemActivate(NM_RCLICK, client);
        }
        return false;
    case QEvent::MouseButtonDblClick:
        if (me->button() == Qt::LeftButton)
            sendItemActivate(NM_DBLCLK, client);
        else if (me->button() == Qt::RightButton)
            sendItemActivate(NM_RDBLCLK, client);
        return false;
    default:
        return false;
    }
}

void ListView::applyExtended()
{
    m_view->setShowGrid((m_exStyle & LVS_EX_GRIDLINES) != 0);
    m_view->horizontalHeader()->setSectionsMovable((m_exStyle & LVS_EX_HEADERDRAGDROP) != 0);
    m_model->changedAll();
}

}  // namespace listview

std::unique_ptr<NativeControl> MakeListView()
{
    return std::make_unique<listview::ListView>();
}

}  // namespace vxw
