#pragma once
// Temporary wrappers for handles given to handlers (FromHandle): one per
// handle and thread, detached and dropped once the thread's event loop is
// idle again, so they never delete what they wrap.

#include <QCoreApplication>
#include <QTimer>

#include <map>
#include <memory>

namespace vxgdi {

template <typename T, typename H>
T* TempWrapper(std::map<H, std::unique_ptr<T>>& map, H h)
{
    if (!h)
        return nullptr;
    auto& slot = map[h];
    if (!slot) {
        slot = std::make_unique<T>();
        slot->Attach(h);
        if (map.size() == 1 && QCoreApplication::instance())
            QTimer::singleShot(0, [&map] {
                for (auto& [k, v] : map)
                    v->Detach();
                map.clear();
            });
    }
    return slot.get();
}

}  // namespace vxgdi
