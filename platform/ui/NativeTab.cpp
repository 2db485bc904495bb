// The tab control: a strip of tabs over a display area. Owner-drawn tabs
// (TCS_OWNERDRAWFIXED) ask the parent to draw each tab.
#include "platform/ui/NativeControl_p.h"

#include "platform/ui/commctrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <string>
#include <vector>

namespace vxw {

namespace {

class TabBar : public QTabBar {
public:
    TabBar(HWND h, QWidget* parent) : QTabBar(parent), m_hwnd(h) {}
    std::vector<LPARAM> params;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QTabBar::paintEvent(e);
        WindowRecord* r = Rec(m_hwnd);
        if (!r || !(r->style & TCS_OWNERDRAWFIXED))
            return;
        for (int i = 0; i < count(); ++i) {
            LPARAM data = static_cast<size_t>(i) < params.size() ? params[static_cast<size_t>(i)] : 0;
            SendDrawItem(m_hwnd, this, ODT_TAB, static_cast<UINT>(i), i == currentIndex() ? ODS_SELECTED : 0,
                         tabRect(i), static_cast<ULONG_PTR>(data));
        }
    }

private:
    HWND m_hwnd;
};

class TabWidget : public QWidget {
public:
    TabWidget(HWND h, QWidget* parent) : QWidget(parent), bar(new TabBar(h, this)) {}
    TabBar* bar;

protected:
    void paintEvent(QPaintEvent*) override
    {
        // The frame of the display area under the tabs.
        QPainter p(this);
        QStyleOptionTabWidgetFrame opt;
        opt.initFrom(this);
        opt.rect = QRect(0, bar->height() - 1, width(), height() - bar->height() + 1);
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
    }
    void resizeEvent(QResizeEvent*) override { bar->setGeometry(0, 0, width(), bar->sizeHint().height()); }
};

class Tab : public NativeControl, public QObject {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_widget = new TabWidget(r.hwnd, parent);
        m_bar = m_widget->bar;
        m_bar->setDrawBase(false);
        m_bar->setExpanding(false);
        m_bar->setUsesScrollButtons(true);
        m_bar->setFocusPolicy((r.style & TCS_FOCUSNEVER) ? Qt::NoFocus : Qt::StrongFocus);
        m_bar->installEventFilter(this);
        QObject::connect(m_bar, &QTabBar::currentChanged, m_bar, [this](int) {
            if (!m_silent)
                notifyCode(TCN_SELCHANGE);
        });
        return m_widget;
    }

    std::vector<QWidget*> inputWidgets() override { return {m_bar}; }
    QPoint inputOffset(QWidget* input) const override { return input->pos(); }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_bar)
            return false;
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        bool was = m_silent;
        m_silent = true;
        bool handled = true;
        switch (msg) {
        case TCM_INSERTITEM: {
            auto* it = reinterpret_cast<const TCITEM*>(lParam);
            int at = index < 0 || index > m_bar->count() ? m_bar->count() : index;
            QString text = it && (it->mask & TCIF_TEXT) && it->pszText ? ToQ(it->pszText) : QString();
            m_bar->insertTab(at, text);
            m_bar->params.insert(m_bar->params.begin() + at, it && (it->mask & TCIF_PARAM) ? it->lParam : 0);
            m_images.insert(m_images.begin() + at, it && (it->mask & TCIF_IMAGE) ? it->iImage : -1);
            layout();
            result = at;
            break;
        }
        case TCM_DELETEITEM:
            if (index < 0 || index >= m_bar->count()) {
                result = FALSE;
                break;
            }
            m_bar->removeTab(index);
            m_bar->params.erase(m_bar->params.begin() + index);
            m_images.erase(m_images.begin() + index);
            result = TRUE;
            break;
        case TCM_DELETEALLITEMS:
            while (m_bar->count() > 0)
                m_bar->removeTab(0);
            m_bar->params.clear();
            m_images.clear();
            result = TRUE;
            break;
        case TCM_GETITEMCOUNT:
            result = m_bar->count();
            break;
        case TCM_GETITEM: {
            auto* it = reinterpret_cast<TCITEM*>(lParam);
            if (!it || index < 0 || index >= m_bar->count()) {
                result = FALSE;
                break;
            }
            if ((it->mask & TCIF_TEXT) && it->pszText && it->cchTextMax > 0)
                CopyOut(FromQ(m_bar->tabText(index)), it->pszText, it->cchTextMax);
            if (it->mask & TCIF_IMAGE)
                it->iImage = m_images[static_cast<size_t>(index)];
            if (it->mask & TCIF_PARAM)
                it->lParam = m_bar->params[static_cast<size_t>(index)];
            result = TRUE;
            break;
        }
        case TCM_SETITEM: {
            auto* it = reinterpret_cast<const TCITEM*>(lParam);
            if (!it || index < 0 || index >= m_bar->count()) {
                result = FALSE;
                break;
            }
            if ((it->mask & TCIF_TEXT) && it->pszText)
                m_bar->setTabText(index, ToQ(it->pszText));
            if (it->mask & TCIF_IMAGE)
                m_images[static_cast<size_t>(index)] = it->iImage;
            if (it->mask & TCIF_PARAM)
                m_bar->params[static_cast<size_t>(index)] = it->lParam;
            result = TRUE;
            break;
        }
        case TCM_GETCURSEL:
        case TCM_GETCURFOCUS:
            result = m_bar->currentIndex();
            break;
        case TCM_SETCURSEL:
        case TCM_SETCURFOCUS:
            result = m_bar->currentIndex();
            if (index >= 0 && index < m_bar->count())
                m_bar->setCurrentIndex(index);
            else
                result = -1;
            break;
        case TCM_GETITEMRECT: {
            auto* rc = reinterpret_cast<RECT*>(lParam);
            if (!rc || index < 0 || index >= m_bar->count()) {
                result = FALSE;
                break;
            }
            QRect t = m_bar->tabRect(index).translated(m_bar->pos());
            *rc = RECT{t.left(), t.top(), t.left() + t.width(), t.top() + t.height()};
            result = TRUE;
            break;
        }
        case TCM_HITTEST: {
            struct HitTest {
                POINT pt;
                UINT flags;
            };
            auto* ht = reinterpret_cast<HitTest*>(lParam);
            result = ht ? m_bar->tabAt(QPoint(ht->pt.x, ht->pt.y) - m_bar->pos()) : -1;
            if (ht)
                ht->flags = result >= 0 ? 6 : 1;
            break;
        }
        case TCM_ADJUSTRECT: {
            auto* rc = reinterpret_cast<RECT*>(lParam);
            if (rc) {
                int top = m_bar->height();
                if (wParam) {
                    rc->top -= top + 2;
                    rc->left -= 2;
                    rc->right += 2;
                    rc->bottom += 2;
                } else {
                    rc->top += top + 2;
                    rc->left += 2;
                    rc->right -= 2;
                    rc->bottom -= 2;
                }
            }
            result = 0;
            break;
        }
        case TCM_SETIMAGELIST:
            result = reinterpret_cast<LRESULT>(m_imageList);
            m_imageList = reinterpret_cast<HIMAGELIST>(lParam);
            break;
        case TCM_GETIMAGELIST:
            result = reinterpret_cast<LRESULT>(m_imageList);
            break;
        case TCM_SETITEMSIZE:
            result = 0;
            break;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS;
            break;
        default:
            handled = false;
            break;
        }
        m_silent = was;
        return handled;
    }

protected:
    // A click on another tab asks the parent first (TCN_SELCHANGING).
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress || !m_bar)
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        int at = m_bar->tabAt(me->position().toPoint());
        if (at < 0 || at == m_bar->currentIndex() || me->button() != Qt::LeftButton)
            return false;
        return notifyCode(TCN_SELCHANGING) != 0;
    }

private:
    void layout()
    {
        if (m_widget)
            m_bar->setGeometry(0, 0, m_widget->width(), m_bar->sizeHint().height());
    }

    QPointer<TabWidget> m_widget;
    QPointer<TabBar> m_bar;
    std::vector<int> m_images;
    HIMAGELIST m_imageList = nullptr;
    bool m_silent = false;
};

}  // namespace

std::unique_ptr<NativeControl> MakeTab()
{
    return std::make_unique<Tab>();
}

}  // namespace vxw
