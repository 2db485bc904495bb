// The list view class (report view): columns, items and sub-items with data
// and states, selection, extended styles, column order, hit-testing and item
// rectangles, and the virtual list (LVS_OWNERDATA) that asks its parent for
// each shown cell with LVN_GETDISPINFO. The header is a child window of its
// own (id 0) whose notifications the list passes on to its parent.
#include "platform/ui/NativeControl_p.h"

#include "platform/gdi/ImageListPixmap_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/commctrl.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace vxw {

namespace {

struct Column {
    std::string text;
    int fmt = LVCFMT_LEFT;
    int width = 100;
    int image = -1;
};

struct Item {
    std::vector<std::string> texts;  // per column
    std::vector<int> images;          // per column, -1 none
    std::vector<bool> callback;       // text asked from the parent
    LPARAM param = 0;
    UINT state = 0;                   // bits other than selection and focus
};

class ListView;

class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(ListView* owner) : m_owner(owner) {}
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveRows;
    using QAbstractTableModel::endResetModel;
    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::beginRemoveColumns;
    using QAbstractTableModel::endRemoveColumns;
    void changedRow(int row) { emit dataChanged(index(row, 0), index(row, std::max(0, columnCount({}) - 1))); }
    void changedHeader(int c) { emit headerDataChanged(Qt::Horizontal, c, c); }
    void changedAll() { emit layoutChanged(); }

private:
    ListView* m_owner;
};

class Header;

class ListView : public NativeControl, public QObject {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
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

    void created() override;

    std::vector<QWidget*> inputWidgets() override { return {m_view->viewport()}; }
    QPoint inputOffset(QWidget* input) const override { return input->geometry().topLeft(); }
    UINT dlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // ---- what the model reads ----
    int rows() const { return m_virtual ? m_virtualCount : static_cast<int>(m_items.size()); }
    int columns() const { return static_cast<int>(m_columns.size()); }
    QVariant cell(int row, int col, int role) const;
    QVariant heading(int col, int role) const;

    // ---- what the header child asks ----
    int headerCount() const { return columns(); }
    RECT headerItemRect(int col) const;
    bool headerGetItem(int col, HDITEM* item) const;
    bool headerSetItem(int col, const HDITEM* item);
    int orderToIndex(int order) const { return m_view->horizontalHeader()->logicalIndex(order); }
    void getOrder(int n, int* out) const
    {
        for (int i = 0; i < n && i < columns(); ++i)
            out[i] = m_view->horizontalHeader()->logicalIndex(i);
    }
    void setOrder(int n, const int* order)
    {
        QHeaderView* h = m_view->horizontalHeader();
        for (int i = 0; i < n && i < columns(); ++i) {
            if (order[i] < 0 || order[i] >= columns())
                continue;
            int from = h->visualIndex(order[i]);
            if (from != i)
                h->moveSection(from, i);
        }
    }
    LRESULT forwardHeaderNotify(NMHDR* hdr)
    {
        WindowRecord* r = rec();
        return r && r->parent ? ::SendMessage(r->parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
    }
    HWND headerHwnd() const { return m_header; }
    QHeaderView* headerView() const { return m_view ? m_view->horizontalHeader() : nullptr; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    int rowHeight() const { return m_view->verticalHeader()->defaultSectionSize(); }
    QPoint viewportOrigin() const { return m_view->viewport()->geometry().topLeft(); }
    bool validRow(int i) const { return i >= 0 && i < rows(); }
    std::string textOf(int row, int col) const;
    int imageOf(int row, int col) const;
    UINT stateOf(int row) const;
    void setState(int row, UINT state, UINT mask);
    int insertItem(const LVITEM& it);
    bool setItem(const LVITEM& it);
    bool getItem(LVITEM& it) const;
    int nextItem(int start, UINT flags) const;
    bool itemRect(int row, int col, int code, RECT* rc) const;
    int hitTest(LVHITTESTINFO& info) const;
    void sendItemActivate(UINT code, QPoint client);
    void onSelection(const QItemSelection& sel, const QItemSelection& desel);
    void onCurrent(const QModelIndex& now, const QModelIndex& before);
    void onHeaderClick(int column);
    void notifyChanged(int row, UINT newState, UINT oldState);
    void applyExtended();

    QPointer<QTableView> m_view;
    ListModel* m_model = nullptr;
    std::vector<Column> m_columns;
    std::vector<Item> m_items;
    bool m_virtual = false;
    int m_virtualCount = 0;
    std::vector<UINT> m_virtualState;  // only the state-image bits of virtual rows
    DWORD m_exStyle = 0;
    HIMAGELIST m_images[3] = {nullptr, nullptr, nullptr};
    COLORREF m_bk = CLR_NONE;
    COLORREF m_text = CLR_DEFAULT;
    int m_selectionMark = -1;
    HWND m_header = nullptr;
    bool m_silentSelection = false;
    // Drag start: the row pressed and where.
    int m_pressRow = -1;
    QPoint m_pressPos;
    bool m_dragSent = false;
    // The parent's answers for one cell are asked once per paint pass.
    mutable std::array<char, 1024> m_dispBuf{};
};

// ---- model ----

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_owner->rows();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_owner->columns();
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    return m_owner->cell(index.row(), index.column(), role);
}

QVariant ListModel::headerData(int section, Qt::Orientation o, int role) const
{
    return o == Qt::Horizontal ? m_owner->heading(section, role) : QVariant();
}

QVariant ListView::cell(int row, int col, int role) const
{
    if (!validRow(row) || col < 0 || col >= columns())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return ToQ(textOf(row, col));
    case Qt::DecorationRole: {
        HIMAGELIST il = m_images[LVSIL_SMALL];
        if (!il || (col > 0 && !(m_exStyle & LVS_EX_SUBITEMIMAGES)))
            return {};
        int image = imageOf(row, col);
        if (image < 0)
            return {};
        QPixmap p = vxgdi::ImageListPixmap(il, image);
        return p.isNull() ? QVariant() : QVariant(p);
    }
    case Qt::TextAlignmentRole: {
        int fmt = m_columns[static_cast<size_t>(col)].fmt & LVCFMT_JUSTIFYMASK;
        Qt::Alignment a = fmt == LVCFMT_RIGHT ? Qt::AlignRight : fmt == LVCFMT_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(a | Qt::AlignVCenter);
    }
    case Qt::CheckStateRole:
        if (col == 0 && (m_exStyle & LVS_EX_CHECKBOXES))
            return ((stateOf(row) & LVIS_STATEIMAGEMASK) >> 12) == 2 ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

QVariant ListView::heading(int col, int role) const
{
    if (col < 0 || col >= columns())
        return {};
    if (role == Qt::DisplayRole)
        return ToQ(m_columns[static_cast<size_t>(col)].text);
    if (role == Qt::TextAlignmentRole) {
        int fmt = m_columns[static_cast<size_t>(col)].fmt & LVCFMT_JUSTIFYMASK;
        Qt::Alignment a = fmt == LVCFMT_RIGHT ? Qt::AlignRight : fmt == LVCFMT_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(a | Qt::AlignVCenter);
    }
    return {};
}

std::string ListView::textOf(int row, int col) const
{
    bool ask = m_virtual;
    if (!m_virtual) {
        const Item& it = m_items[static_cast<size_t>(row)];
        if (static_cast<size_t>(col) < it.callback.size() && it.callback[static_cast<size_t>(col)])
            ask = true;
        else
            return static_cast<size_t>(col) < it.texts.size() ? it.texts[static_cast<size_t>(col)] : std::string();
    }
    if (!ask)
        return {};
    NMLVDISPINFO di{};
    di.hdr.code = LVN_GETDISPINFO;
    di.item.mask = LVIF_TEXT;
    di.item.iItem = row;
    di.item.iSubItem = col;
    m_dispBuf[0] = '\0';
    di.item.pszText = m_dispBuf.data();
    di.item.cchTextMax = static_cast<int>(m_dispBuf.size());
    notify(&di.hdr);
    if (!di.item.pszText)
        return {};
    // The parent may point at its own text instead of filling the buffer.
    if (di.item.pszText == m_dispBuf.data()) {
        m_dispBuf.back() = '\0';
        return std::string(m_dispBuf.data());
    }
    return std::string(di.item.pszText);
}

int ListView::imageOf(int row, int col) const
{
    if (!m_virtual) {
        const Item& it = m_items[static_cast<size_t>(row)];
        int image = static_cast<size_t>(col) < it.images.size() ? it.images[static_cast<size_t>(col)] : -1;
        if (image != I_IMAGECALLBACK)
            return image;
    }
    NMLVDISPINFO di{};
    di.hdr.code = LVN_GETDISPINFO;
    di.item.mask = LVIF_IMAGE;
    di.item.iItem = row;
    di.item.iSubItem = col;
    di.item.iImage = -1;
    notify(&di.hdr);
    return di.item.iImage;
}

UINT ListView::stateOf(int row) const
{
    if (!validRow(row))
        return 0;
    UINT s = m_virtual ? (static_cast<size_t>(row) < m_virtualState.size() ? m_virtualState[static_cast<size_t>(row)] : 0)
                       : m_items[static_cast<size_t>(row)].state;
    s &= ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
    QItemSelectionModel* sm = m_view->selectionModel();
    if (sm->isRowSelected(row, QModelIndex()))
        s |= LVIS_SELECTED;
    if (sm->currentIndex().isValid() && sm->currentIndex().row() == row)
        s |= LVIS_FOCUSED;
    return s;
}

void ListView::setState(int row, UINT state, UINT mask)
{
    if (!validRow(row))
        return;
    QItemSelectionModel* sm = m_view->selectionModel();
    UINT other = mask & ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
    if (other) {
        UINT old = stateOf(row);
        if (m_virtual) {
            if (m_virtualState.size() < static_cast<size_t>(rows()))
                m_virtualState.resize(static_cast<size_t>(rows()), 0);
            UINT& s = m_virtualState[static_cast<size_t>(row)];
            s = (s & ~other) | (state & other);
        } else {
            UINT& s = m_items[static_cast<size_t>(row)].state;
            s = (s & ~other) | (state & other);
        }
        m_model->changedRow(row);
        if ((old & other) != (state & other))
            notifyChanged(row, stateOf(row), old);
    }
    QModelIndex idx = m_model->index(row, 0);
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED)
            sm->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
        else if (sm->currentIndex().row() == row)
            sm->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    if (mask & LVIS_SELECTED) {
        auto flags = (state & LVIS_SELECTED) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
        if ((state & LVIS_SELECTED) && m_view->selectionMode() == QAbstractItemView::SingleSelection)
            flags = QItemSelectionModel::ClearAndSelect;
        sm->select(idx, flags | QItemSelectionModel::Rows);
    }
}

int ListView::insertItem(const LVITEM& it)
{
    if (m_virtual)
        return -1;
    int at = it.iItem < 0 || it.iItem > rows() ? rows() : it.iItem;
    Item item;
    size_t n = std::max<size_t>(m_columns.size(), 1);
    item.texts.resize(n);
    item.images.assign(n, -1);
    item.callback.assign(n, false);
    if (it.mask & LVIF_TEXT) {
        if (it.pszText == LPSTR_TEXTCALLBACK)
            item.callback[0] = true;
        else if (it.pszText)
            item.texts[0] = it.pszText;
    }
    if (it.mask & LVIF_IMAGE)
        item.images[0] = it.iImage;
    if (it.mask & LVIF_PARAM)
        item.param = it.lParam;
    m_model->beginInsertRows(QModelIndex(), at, at);
    m_items.insert(m_items.begin() + at, std::move(item));
    m_model->endInsertRows();
    if (it.mask & LVIF_STATE)
        setState(at, it.state, it.stateMask);
    return at;
}

bool ListView::setItem(const LVITEM& it)
{
    if (!validRow(it.iItem) || it.iSubItem < 0 || it.iSubItem >= std::max(1, columns()))
        return false;
    if (!m_virtual) {
        Item& item = m_items[static_cast<size_t>(it.iItem)];
        size_t c = static_cast<size_t>(it.iSubItem);
        if (item.texts.size() <= c) {
            item.texts.resize(c + 1);
            item.images.resize(c + 1, -1);
            item.callback.resize(c + 1, false);
        }
        if (it.mask & LVIF_TEXT) {
            item.callback[c] = it.pszText == LPSTR_TEXTCALLBACK;
            item.texts[c] = it.pszText && it.pszText != LPSTR_TEXTCALLBACK ? it.pszText : "";
        }
        if (it.mask & LVIF_IMAGE)
            item.images[c] = it.iImage;
        if ((it.mask & LVIF_PARAM) && c == 0)
            item.param = it.lParam;
        m_model->changedRow(it.iItem);
    }
    if (it.mask & LVIF_STATE)
        setState(it.iItem, it.state, it.stateMask);
    return true;
}

bool ListView::getItem(LVITEM& it) const
{
    if (!validRow(it.iItem) || it.iSubItem < 0 || it.iSubItem >= std::max(1, columns()))
        return false;
    if (it.mask & LVIF_TEXT) {
        std::string t = textOf(it.iItem, it.iSubItem);
        if (it.pszText && it.cchTextMax > 0)
            CopyOut(t, it.pszText, it.cchTextMax);
    }
    if (it.mask & LVIF_IMAGE)
        it.iImage = imageOf(it.iItem, it.iSubItem);
    if (it.mask & LVIF_PARAM)
        it.lParam = m_virtual ? 0 : m_items[static_cast<size_t>(it.iItem)].param;
    if (it.mask & LVIF_STATE)
        it.state = stateOf(it.iItem) & it.stateMask;
    return true;
}

int ListView::nextItem(int start, UINT flags) const
{
    int n = rows();
    UINT want = flags & (LVNI_SELECTED | LVNI_FOCUSED);
    if (flags & LVNI_ABOVE) {
        return start > 0 ? start - 1 : -1;
    }
    if (flags & LVNI_BELOW) {
        return start + 1 < n ? start + 1 : -1;
    }
    if (want & LVNI_FOCUSED) {
        int cur = m_view->selectionModel()->currentIndex().isValid() ? m_view->selectionModel()->currentIndex().row() : -1;
        return cur > start ? cur : -1;
    }
    if (want & LVNI_SELECTED) {
        // The selection is a few ranges: walk them, not every row of a large
        // virtual list.
        int best = -1;
        for (const QItemSelectionRange& range : m_view->selectionModel()->selection()) {
            int from = std::max(range.top(), start + 1);
            if (from <= range.bottom() && (best < 0 || from < best))
                best = from;
        }
        return best;
    }
    return start + 1 < n ? start + 1 : -1;
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
            r = QRect(m_view->columnViewportPosition(col), m_view->rowViewportPosition(row),
                      m_view->columnWidth(col), rowHeight());
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

void ListView::onHeaderClick(int column)
{
    NMLISTVIEW nm{};
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    notify(&nm.hdr);
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
        if ((me->buttons() & Qt::LeftButton) && m_pressRow >= 0 && !m_dragSent &&
            (me->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
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

bool ListView::handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!m_view)
        return false;
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
    case LVM_GETITEMCOUNT:
        result = rows();
        return true;
    case LVM_SETITEMCOUNT:
        if (m_virtual) {
            m_model->beginResetModel();
            m_virtualCount = std::max(0, index);
            if (m_virtualState.size() > static_cast<size_t>(m_virtualCount))
                m_virtualState.resize(static_cast<size_t>(m_virtualCount));
            m_model->endResetModel();
        }
        result = TRUE;
        return true;
    case LVM_INSERTITEM:
        result = lParam ? insertItem(*reinterpret_cast<const LVITEM*>(lParam)) : -1;
        return true;
    case LVM_DELETEITEM:
        if (!validRow(index) || m_virtual) {
            result = FALSE;
            return true;
        } else {
            NMLISTVIEW nm{};
            nm.hdr.code = LVN_DELETEITEM;
            nm.iItem = index;
            nm.lParam = m_items[static_cast<size_t>(index)].param;
            notify(&nm.hdr);
            if (!validRow(index)) {
                result = FALSE;
                return true;
            }
            m_model->beginRemoveRows(QModelIndex(), index, index);
            m_items.erase(m_items.begin() + index);
            m_model->endRemoveRows();
            result = TRUE;
            return true;
        }
    case LVM_DELETEALLITEMS: {
        NMLISTVIEW nm{};
        nm.hdr.code = LVN_DELETEALLITEMS;
        nm.iItem = -1;
        notify(&nm.hdr);
        m_silentSelection = true;
        m_model->beginResetModel();
        m_items.clear();
        m_virtualCount = 0;
        m_virtualState.clear();
        m_model->endResetModel();
        m_silentSelection = false;
        m_selectionMark = -1;
        result = TRUE;
        return true;
    }
    case LVM_GETITEM:
        result = lParam && getItem(*reinterpret_cast<LVITEM*>(lParam)) ? TRUE : FALSE;
        return true;
    case LVM_SETITEM:
        result = lParam && setItem(*reinterpret_cast<const LVITEM*>(lParam)) ? TRUE : FALSE;
        return true;
    case LVM_SETITEMTEXT: {
        if (!lParam) {
            result = FALSE;
            return true;
        }
        LVITEM it = *reinterpret_cast<const LVITEM*>(lParam);
        it.iItem = index;
        it.mask = LVIF_TEXT;
        result = setItem(it) ? TRUE : FALSE;
        return true;
    }
    case LVM_GETITEMTEXT: {
        auto* it = reinterpret_cast<LVITEM*>(lParam);
        if (!it || !validRow(index)) {
            result = 0;
            return true;
        }
        std::string t = textOf(index, it->iSubItem);
        result = it->pszText && it->cchTextMax > 0 ? CopyOut(t, it->pszText, it->cchTextMax) : 0;
        return true;
    }
    case LVM_SETITEMSTATE: {
        auto* it = reinterpret_cast<const LVITEM*>(lParam);
        if (!it) {
            result = FALSE;
            return true;
        }
        if (index == -1) {
            if ((it->stateMask & LVIS_SELECTED) && !(it->state & LVIS_SELECTED)) {
                m_view->selectionModel()->clearSelection();
            } else if ((it->stateMask & LVIS_SELECTED) && rows() > 0) {
                m_view->selectAll();
            }
            UINT other = it->stateMask & ~static_cast<UINT>(LVIS_SELECTED);
            if (other)
                for (int r = 0; r < rows(); ++r)
                    setState(r, it->state, other);
            result = TRUE;
            return true;
        }
        if (!validRow(index)) {
            result = FALSE;
            return true;
        }
        setState(index, it->state, it->stateMask);
        result = TRUE;
        return true;
    }
    case LVM_GETITEMSTATE:
        result = stateOf(index) & static_cast<UINT>(lParam);
        return true;
    case LVM_GETNEXTITEM:
        result = nextItem(index, static_cast<UINT>(lParam));
        return true;
    case LVM_GETSELECTEDCOUNT: {
        int n = 0;
        for (const QItemSelectionRange& range : m_view->selectionModel()->selection())
            n += range.bottom() - range.top() + 1;
        result = n;
        return true;
    }
    case LVM_GETSELECTIONMARK:
        result = m_selectionMark;
        return true;
    case LVM_SETSELECTIONMARK:
        result = m_selectionMark;
        m_selectionMark = static_cast<int>(lParam);
        return true;
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
        int top = m_view->rowAt(0);
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
        m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->value() +
                                              static_cast<int>(lParam) / std::max(1, rowHeight()));
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
    case WM_NOTIFY: {
        // The header's notices go on to the list's parent.
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom == m_header) {
            result = forwardHeaderNotify(hdr);
            return true;
        }
        return false;
    }
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    default:
        return false;
    }
}

// ---- the header child ----

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

}  // namespace

std::unique_ptr<NativeControl> MakeListView()
{
    return std::make_unique<ListView>();
}

}  // namespace vxw
