// The list view's items: the store behind the Qt model, texts asked from
// the parent for callback and virtual rows, states and the item messages.
#include "platform/ui/NativeListView_p.h"

#include "platform/gdi/ImageListPixmap_p.h"
#include "platform/ui/WindowCall_p.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace vxw::listview {

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_owner ? 0 : m_owner->rows();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_owner ? 0 : m_owner->columns();
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    return m_owner ? m_owner->cell(index.row(), index.column(), role) : QVariant();
}

QVariant ListModel::headerData(int section, Qt::Orientation o, int role) const
{
    return o == Qt::Horizontal && m_owner ? m_owner->heading(section, role) : QVariant();
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

// Item messages: the rows, their texts, data and states.
bool ListView::handleItems(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
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
    default:
        return false;
    }
}

}  // namespace vxw::listview
