#include "platform/ui/NativeControl_p.h"
#include "platform/ui/VideoSurface_p.h"

namespace vxw {

WindowRegistry& WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

HWND WindowRegistry::add(std::unique_ptr<WindowRecord> record)
{
    std::lock_guard lock(m_mutex);
    uintptr_t id = m_nextId;
    m_nextId += 4;
    HWND hwnd = reinterpret_cast<HWND>(id);
    record->hwnd = hwnd;
    m_records.emplace(id, std::move(record));
    return hwnd;
}

std::unique_ptr<WindowRecord> WindowRegistry::remove(HWND hwnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_records.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == m_records.end())
        return nullptr;
    auto record = std::move(it->second);
    m_records.erase(it);
    ForgetVideoSurface(hwnd);
    return record;
}

WindowRecord* WindowRegistry::find(HWND hwnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_records.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == m_records.end() ? nullptr : it->second.get();
}

bool WindowRegistry::alive(HWND hwnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_records.find(reinterpret_cast<uintptr_t>(hwnd));
    return it != m_records.end() && !it->second->dead;
}

HWND WindowRegistry::fromWidget(const QObject* object)
{
    if (!object)
        return nullptr;
    QVariant v = object->property("vx_hwnd");
    return v.isValid() ? reinterpret_cast<HWND>(static_cast<uintptr_t>(v.toULongLong())) : nullptr;
}

std::vector<HWND> WindowRegistry::topLevels()
{
    std::lock_guard lock(m_mutex);
    std::vector<HWND> out;
    for (auto& [id, rec] : m_records) {
        if (!rec->parent && !rec->dead)
            out.push_back(rec->hwnd);
    }
    return out;
}

QWidget* WidgetOf(HWND hwnd)
{
    WindowRecord* r = Rec(hwnd);
    return r ? r->widget.data() : nullptr;
}

}  // namespace vxw
