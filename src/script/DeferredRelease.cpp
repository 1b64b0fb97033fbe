#include "script/DeferredRelease.h"

namespace vbs {

namespace {
constexpr int MaxNesting = 32;
thread_local int t_depth = 0;
thread_local std::vector<std::vector<Variant>> t_pending;
} // namespace

void ReleaseValues(std::vector<Variant>& values)
{
    if (values.empty())
        return;
    if (t_depth >= MaxNesting) {
        t_pending.push_back(std::move(values));
        values.clear();
        return;
    }
    ++t_depth;
    {
        std::vector<Variant> dying = std::move(values);
        values.clear();
    }
    if (t_depth == 1) {
        while (!t_pending.empty()) {
            std::vector<Variant> dying = std::move(t_pending.back());
            t_pending.pop_back();
        }
    }
    --t_depth;
}

} // namespace vbs
