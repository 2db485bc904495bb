#pragma once
// The list view control's parts, shared by its files: the item store and
// model (NativeListView_Model.cpp), the view with its mouse, selection and
// view messages (NativeListView.cpp), and the header child with the column
// messages (NativeListView_Header.cpp). GUI thread only.

#include "platform/ui/NativeControl_p.h"

#include "platform/ui/commctrl.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

#include <array>
#include <string>
#include <vector>

namespace vxw::listview {

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
    // The control went while Qt still holds the view (its deletion is
    // deferred, and a layout timer may still ask): the model answers empty.
    void detach() { m_owner = nullptr; }
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

class ListView : public NativeControl, public QObject {
public:
    ~ListView() override
    {
        // The model is the view's child: it lives as long as the view does.
        if (m_view)
            m_model->detach();
    }
    QWidget* create(WindowRecord& r, QWidget* parent) override;

    void created() override;

    std::vector<QWidget*> inputWidgets() override { return {m_view->viewport()}; }
    QPoint inputOffset(QWidget* input) const override { return input->geometry().topLeft(); }
    UINT dlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The message handling by role (NativeListView_Model.cpp, _Header.cpp,
    // NativeListView.cpp); each answers false for messages of another role.
    bool handleItems(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool handleColumns(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool handleView(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

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

}  // namespace vxw::listview
