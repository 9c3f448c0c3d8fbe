#include "FakeStage.h"

namespace tesmar::script::testing {

ClipObject* FakeClip::childClip(std::string_view name)
{
    for (auto& [key, child] : children)
        if (heap().key(child->name()) == heap().key(name) && !child->isRemoved) return child;
    return nullptr;
}

std::string FakeClip::targetPath()
{
    return parent_ ? parent_->targetPath() + "." + name_ : "_level0";
}

std::string FakeClip::slashPath()
{
    if (!parent_) return "/";
    std::string up = parent_->slashPath();
    return (up == "/" ? "" : up) + "/" + name_;
}

void FakeClip::gotoFrame(int frame, bool play)
{
    frame = std::clamp(frame, 1, totalFrames());
    calls.push_back("goto " + std::to_string(frame));
    playing = play;
    if (frame != current) pendingGoto = frame;
}

int FakeClip::labelFrame(std::string_view label)
{
    for (auto& [name, frame] : labels)
        if (heap().key(name) == heap().key(label)) return frame;
    return 0;
}

std::vector<ActionBytes> FakeClip::frameScripts(int frame)
{
    if (frame < 1 || size_t(frame) > frames.size()) return {};
    return frames[size_t(frame) - 1];
}

void FakeClip::duplicate(const std::string& name, int depth)
{
    calls.push_back("duplicate " + name + " " + std::to_string(depth));
}

void FakeClip::removeSelf()
{
    isRemoved = true;
    calls.push_back("remove");
}

bool FakeClip::getVirtual(VM&, const std::string& name, Value& out)
{
    std::string key = heap().key(name);
    if (key == "_currentframe") out = Value(current);
    else if (key == "_totalframes" || key == "_framesloaded") out = Value(totalFrames());
    else if (key == "_name") out = Value(name_);
    else if (key == "_target") out = Value(slashPath());
    else if (key == "_parent") out = parent_ ? Value(static_cast<Object*>(parent_)) : Value();
    else {
        ClipObject* child = childClip(name);
        if (!child) return false;
        out = Value(static_cast<Object*>(child));
    }
    return true;
}

void FakeClip::trace(Tracer& tracer)
{
    ClipObject::trace(tracer);
    tracer.mark(parent_);
    for (auto& [name, child] : children) tracer.mark(child);
}

FakeMovie::FakeMovie(int swfVersion, std::vector<std::vector<ActionBytes>> frames, Limits limits)
    : vm(host, swfVersion, limits)
{
    root = vm.heap().make<FakeClip>("", nullptr, swfVersion);
    root->setProto(vm.protos().movieClip);
    root->frames = std::move(frames);
    host.root = root;
}

void FakeMovie::runFrame(int frame)
{
    root->current = frame;
    for (const ActionBytes& block : root->frameScripts(frame)) vm.runActions(block, root);
}

void FakeMovie::runFrames(int count, double frameRate)
{
    for (int tick = 0; tick < count; ++tick) {
        vm.beginFrame();
        if (!started_) {
            started_ = true;
            runFrame(1);
        } else if (root->playing && root->totalFrames() > 1) {
            runFrame(root->current % root->totalFrames() + 1);
        }
        // A jump made by a script shows its frame (and runs its scripts) at once.
        for (int guard = 0; root->pendingGoto && guard < 16; ++guard) {
            int frame = root->pendingGoto;
            root->pendingGoto = 0;
            runFrame(frame);
        }
        vm.runIntervals();
        vm.collectGarbage();
        host.now += 1000.0 / frameRate;
    }
}

std::string FakeMovie::output() const
{
    std::string out;
    // A carriage return inside a traced text starts a new line as well.
    for (const std::string& line : host.lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\r') {
                out += '\n';
            } else {
                out += line[i];
            }
        }
        out += '\n';
    }
    return out;
}

} // namespace tesmar::script::testing
