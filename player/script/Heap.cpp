#include "player/script/Heap.h"

namespace tesmar::script {

Heap::~Heap()
{
    // Objects refer to each other freely; drop them all without tracing.
    objects_.clear();
}

std::string Heap::key(std::string_view name) const
{
    std::string k(name);
    if (!caseSensitive_)
        for (char& c : k)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return k;
}

void Heap::collect(const std::function<void(Tracer&)>& roots)
{
    for (auto& o : objects_) o->marked_ = false;
    Tracer tracer;
    roots(tracer);
    while (!tracer.pending_.empty()) {
        Object* o = tracer.pending_.back();
        tracer.pending_.pop_back();
        if (o->marked_) continue;
        o->marked_ = true;
        o->trace(tracer);
    }
    size_t kept = 0;
    for (auto& o : objects_)
        if (o->marked_) objects_[kept++] = std::move(o);
    objects_.resize(kept);
}

} // namespace tesmar::script
