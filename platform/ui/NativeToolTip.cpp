// Tooltips: each tool's text becomes the Qt tooltip of the tool's widget,
// which Qt shows on hover by itself (so relaying mouse messages is a no-op).
#include "platform/ui/NativeControl_p.h"

#include "platform/ui/commctrl.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <string>

namespace vxw {

namespace {

class ToolTip : public NativeControl {
public:
    QWidget* create(WindowRecord&, QWidget* parent) override
    {
        m_widget = new QWidget(parent);
        m_widget->hide();
        return m_widget;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
        switch (msg) {
        case TTM_ADDTOOL:
        case TTM_UPDATETIPTEXT:
            if (!ti) {
                result = FALSE;
                return true;
            }
            if (msg == TTM_UPDATETIPTEXT && !m_tools.count(key(ti))) {
                result = 0;
                return true;
            }
            m_tools[key(ti)] = ti->lpszText && !IS_INTRESOURCE(ti->lpszText) ? ti->lpszText : "";
            apply(key(ti));
            result = TRUE;
            return true;
        case TTM_DELTOOL:
            if (ti) {
                if (QWidget* w = WidgetOf(key(ti)))
                    w->setToolTip(QString());
                m_tools.erase(key(ti));
            }
            result = 0;
            return true;
        case TTM_ACTIVATE:
            m_active = wParam != 0;
            for (auto& [h, text] : m_tools)
                apply(h);
            result = 0;
            return true;
        case TTM_GETTOOLCOUNT:
            result = static_cast<LRESULT>(m_tools.size());
            return true;
        case TTM_RELAYEVENT:
        case TTM_SETDELAYTIME:
        case TTM_SETMAXTIPWIDTH:
            result = 0;
            return true;
        default:
            return false;
        }
    }

private:
    // Tools are whole windows here: a rectangle tool stands for its window.
    static HWND key(const TOOLINFO* ti)
    {
        return (ti->uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(ti->uId) : ti->hwnd;
    }
    void apply(HWND tool)
    {
        QWidget* w = WidgetOf(tool);
        if (!w)
            return;
        auto it = m_tools.find(tool);
        w->setToolTip(m_active && it != m_tools.end() ? ToQ(it->second) : QString());
    }

    QPointer<QWidget> m_widget;
    std::map<HWND, std::string> m_tools;
    bool m_active = true;
};

}  // namespace

std::unique_ptr<NativeControl> MakeToolTip()
{
    return std::make_unique<ToolTip>();
}

}  // namespace vxw
