#include "platform/ui/NativeControl_p.h"
#include "platform/ui/VideoSurface_p.h"

namespace vxw {

WindowRegistry& WindowRegistry::instance()
{
    // Never destroyed: a program that ends through exit() destroys its
    // static windows after this registry would be gone, and each still
    // looks itself up on the way out.
    static WindowRegistry* registry = new WindowRegistry;
    return *registry;
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
    return findLocked(hwnd);
}

WindowRecord* WindowRegistry::findLocked(HWND hwnd)
{
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

void LinkChild(HWND parent, HWND child)
{
    WindowRegistry& reg = WindowRegistry::instance();
    auto lock = reg.lock();
    if (WindowRecord* p = reg.findLocked(parent))
        p->children.push_back(child);
}

namespace {

void MirrorTree(WindowRegistry& reg, HWND hwnd, int depth)
{
    WindowRecord* r = Rec(hwnd);
    if (!r || !r->widget || depth > 64)
        return;
    QWidget* w = r->widget;
    bool hidden = w->isHidden();
    bool disabled = w->testAttribute(Qt::WA_ForceDisabled);
    QRect geometry = w->geometry();
    QPoint origin = w->mapToGlobal(QPoint(0, 0));
    QRect frame = w->isWindow() ? w->frameGeometry() : QRect(origin, w->size());
    std::vector<HWND> kids;
    {
        auto lock = reg.lock();
        r->hidden = hidden;
        r->disabled = disabled;
        r->geometry = geometry;
        r->frame = frame;
        r->screenOrigin = origin;
        kids = r->children;
    }
    // A window that moves carries its children's screen places along.
    for (HWND c : kids)
        MirrorTree(reg, c, depth + 1);
}

}  // namespace

void MirrorWidgetState(HWND hwnd)
{
    MirrorTree(WindowRegistry::instance(), hwnd, 0);
}

}  // namespace vxw
