// flash.net.FileReference and FileReferenceList: files the user picks in a
// dialog, to upload or to save a download to. A screen saver has no user
// at the screen, so every dialog is cancelled: browse() and download()
// check their arguments as the player does, answer true when a dialog would
// open, and the listeners hear onCancel once the frame's scripts have run.
// No file is ever chosen, so name, size, type and the dates stay undefined.

#include "player/script/BuiltinBroadcaster.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

// A filter's field: own (not inherited), readable and, as text, not empty.
// A getter that throws makes the filter invalid; a toString that throws
// reaches the movie.
bool filterField(VM& vm, Object* filter, const char* name)
{
    if (!filter->findOwn(name)) return false;
    Value value;
    try {
        value = vm.get(filter, name);
    } catch (const ScriptThrow&) {
        return false;
    }
    if (value.isUndefined()) return false;
    return !vm.toString(value).empty();
}

// The file type list of browse(): absent, or an array of filter objects
// each with a description and an extension (and optionally a Mac type).
bool validTypeList(CallContext& c)
{
    if (c.count() == 0) return true;
    Value list = c.arg(0);
    if (!list.isObject()) return false;
    double n = c.vm.toNumber(c.vm.get(list.object(), "length"));
    if (!(n >= 1)) return false;
    for (double i = 0; i < n && i < 4096; ++i) {
        Value filter = c.vm.get(list.object(), std::to_string(size_t(i)));
        if (!filter.isObject()) return false;
        Object* f = filter.object();
        if (!filterField(c.vm, f, "description") || !filterField(c.vm, f, "extension")) return false;
        if (f->findOwn("macType")) c.vm.toString(c.vm.get(f, "macType"));
    }
    return true;
}

// An address a download can come from: a scheme, "://" and a host.
bool absoluteUrl(const std::string& url)
{
    size_t colon = url.find("://");
    if (colon == std::string::npos || colon == 0 || colon + 3 >= url.size()) return false;
    for (size_t i = 0; i < colon; ++i) {
        char ch = url[i];
        bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        if (!letter && !(i > 0 && ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == '.'))) return false;
    }
    return true;
}

Value broadcastCancel(CallContext& c)
{
    return c.vm.callMethod(c.thisValue, "broadcastMessage", {Value("onCancel"), c.thisValue});
}

// The dialog opens and, with nobody to answer it, is cancelled.
Value openDialog(CallContext& c)
{
    c.vm.callAfterFrame(Value(static_cast<Object*>(c.vm.newNative(broadcastCancel))), c.thisValue, {});
    return Value(true);
}

Value browse(CallContext& c)
{
    if (!c.thisObject || !validTypeList(c)) return Value(false);
    return openDialog(c);
}

Value download(CallContext& c)
{
    if (!c.thisObject || c.count() == 0 || !absoluteUrl(c.vm.toString(c.arg(0)))) return Value(false);
    return openDialog(c);
}

// Uploading needs a chosen file, and none ever is.
Value upload(CallContext&)
{
    return Value(false);
}

Value cancel(CallContext&)
{
    return Value();
}

Value construct(CallContext& c)
{
    if (c.thisObject) makeBroadcaster(c.vm, c.thisObject);
    return Value();
}

Object* netPackage(VM& vm)
{
    Property* flash = vm.global()->findOwn("flash");
    if (!flash || !flash->value.isObject()) {
        vm.global()->put("flash", Value(vm.newObject()), DontEnum | OnlySwf8Up);
        flash = vm.global()->findOwn("flash");
    }
    Object* root = flash->value.object();
    Property* net = root->findOwn("net");
    if (net && net->value.isObject()) return net->value.object();
    Object* package = vm.newObject();
    root->put("net", Value(package), DontEnum);
    return package;
}

} // namespace

void installFileReference(VM& vm)
{
    FunctionObject* file = vm.newNative(construct);
    Object* fileProto = vm.attachPrototype(file);
    vm.defineNative(fileProto, "browse", browse);
    vm.defineNative(fileProto, "download", download);
    vm.defineNative(fileProto, "upload", upload);
    vm.defineNative(fileProto, "cancel", cancel);
    netPackage(vm)->put("FileReference", Value(static_cast<Object*>(file)), DontEnum);

    FunctionObject* list = vm.newNative(construct);
    Object* listProto = vm.attachPrototype(list);
    vm.defineNative(listProto, "browse", browse);
    netPackage(vm)->put("FileReferenceList", Value(static_cast<Object*>(list)), DontEnum);
}

} // namespace tesmar::script
