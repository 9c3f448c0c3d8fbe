// The plain-object parts of Stage and System: listener lists and the
// capabilities record. Stage size comes from the stage, which adds those
// members; Key and Mouse come with the stage's input.

#include "player/script/BuiltinBroadcaster.h"
#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

// The player-service classes, each in its own file.
void installPrintJob(VM& vm);
void installContextMenu(VM& vm);
void installExternalInterface(VM& vm);
void installNetConnection(VM& vm);
void installLocalConnection(VM& vm);
void installFileReference(VM& vm);
void installDevices(VM& vm);

namespace {

Object* broadcasterObject(VM& vm, const char* name)
{
    Object* object = vm.newObject();
    makeBroadcaster(vm, object);
    vm.global()->put(name, Value(object), DontEnum);
    return object;
}

// Percent-encodes all but letters and digits.
std::string escapeUrl(const std::string& text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char ch : text) {
        if ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
            out += char(ch);
        } else {
            out += '%';
            out += hex[ch >> 4];
            out += hex[ch & 15];
        }
    }
    return out;
}

// What the player reports about itself and the machine, in the order the
// reference player creates the fields (for..in lists them newest first).
// It reports the desktop player version that the conformance movies expect.
Object* capabilitiesObject(VM& vm)
{
    struct Field {
        const char* name;
        Value value;
        const char* code;   // its key in serverString; null when it has none
    };
    const Field fields[] = {
        {"hasAccessibility", Value(false), "ACC"}, {"pixelAspectRatio", Value(1), "AR"},
        {"screenColor", Value("color"), "COL"},    {"screenDPI", Value(72), "DP"},
        {"screenResolutionY", Value(768), nullptr}, {"screenResolutionX", Value(1024), nullptr},
        {"hasTLS", Value(true), "TLS"},            {"hasVideoEncoder", Value(false), "VE"},
        {"hasAudioEncoder", Value(false), "AE"},   {"hasMP3", Value(true), "MP3"},
        {"hasAudio", Value(true), "A"},            {"serverString", Value(), nullptr},
        {"version", Value("LNX 32,0,0,0"), "V"},   {"hasStreamingAudio", Value(true), "SA"},
        {"hasStreamingVideo", Value(false), "SV"}, {"hasEmbeddedVideo", Value(true), "EV"},
        {"hasPrinting", Value(false), "PR"},       {"hasScreenPlayback", Value(false), "SP"},
        {"hasScreenBroadcast", Value(false), "SB"}, {"isDebugger", Value(false), "DEB"},
        {"playerType", Value("StandAlone"), "PT"}, {"avHardwareDisable", Value(true), "AVD"},
        {"localFileReadDisable", Value(true), "LFD"}, {"windowlessDisable", Value(true), "WD"},
        {"maxLevelIDC", Value("5.1"), "ML"},       {"isEmbeddedInAcrobat", Value(false), nullptr},
        {"manufacturer", Value("Adobe Linux"), "M"}, {"os", Value("Linux"), "OS"},
        {"cpuArchitecture", Value("x86"), "ARCH"}, {"cpuAddressSize", Value(32), nullptr},
        {"language", Value("en"), "L"},            {"hasIME", Value(false), "IME"},
        {"supports32BitProcesses", Value(true), nullptr}, {"supports64BitProcesses", Value(false), nullptr},
    };
    // serverString carries the fields URL-encoded, booleans as t and f.
    std::string server;
    for (const Field& f : fields) {
        if (!f.code) continue;
        std::string text = f.value.isBoolean() ? (f.value.boolean() ? "t" : "f") : vm.toString(f.value);
        server += std::string(server.empty() ? "" : "&") + f.code + "=" + escapeUrl(text);
    }
    Object* capabilities = vm.newObject();
    for (const Field& f : fields)
        capabilities->put(f.name, f.value.isUndefined() ? Value(server) : f.value);
    return capabilities;
}

Value ignoreCall(CallContext&)
{
    return Value();
}

} // namespace

void installSystemObjects(VM& vm)
{
    broadcasterObject(vm, "Stage");

    Object* system = vm.newObject();
    system->put("capabilities", Value(capabilitiesObject(vm)));
    Object* security = vm.newObject();
    vm.defineNative(security, "allowDomain", ignoreCall);
    vm.defineNative(security, "allowInsecureDomain", ignoreCall);
    system->put("security", Value(security));
    system->put("useCodepage", Value(false));
    vm.global()->put("System", Value(system), DontEnum);

    installPrintJob(vm);
    installContextMenu(vm);
    installExternalInterface(vm);
    installNetConnection(vm);
    installLocalConnection(vm);
    installFileReference(vm);
    installDevices(vm);
}

} // namespace tesmar::script
