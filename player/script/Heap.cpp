#include "player/script/Heap.h"

#include "player/script/Strings.h"

namespace tesmar::script {

Heap::~Heap()
{
    // Objects refer to each other freely; drop them all without tracing.
    objects_.clear();
}

std::string Heap::key(std::string_view name) const
{
    std::string k(name);
    if (caseSensitive_) return k;
    bool ascii = true;
    for (char& c : k) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        else if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    }
    if (ascii) return k;
    // Letters beyond ASCII fold too ("Ä" names what "ä" names), code unit
    // by code unit as the string methods map them.
    std::u16string units = toUtf16(k);
    for (char16_t& u : units) u = toLowerCase(u);
    return toUtf8(units);
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
