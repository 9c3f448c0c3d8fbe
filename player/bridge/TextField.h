#pragma once
// Text fields as scripts see them: TextField.prototype with the field's
// properties, TextFormat, MovieClip.createTextField, and the fields bound to
// timeline variables, which show the variable's value.
#include "player/script/VM.h"
#include "player/stage/EditText.h"

namespace tesmar::bridge {

class ScriptBridge;

// Adds TextField and TextFormat to the script machine and createTextField
// to MovieClip.prototype.
void installTextField(ScriptBridge& bridge);
// The prototype of the script objects of text fields (null before installing).
script::Object* textFieldPrototype(script::VM& vm);
// The text field behind a script object, or nullptr.
stage::EditText* editTextOf(script::VM& vm, script::Object* object);

// The properties of TextField.prototype (text, htmlText, textColor, ...).
void installTextFieldProperties(script::VM& vm, script::Object* prototype);
// TextFormat and the format methods of TextField.prototype.
void installTextFormat(script::VM& vm, script::Object* prototype);

// Shows in each bound field the current value of its variable (before a
// frame's scripts and once they have run); a field whose variable does not
// exist yet creates it with its own text.
void updateBoundFields(ScriptBridge& bridge);
// Brings one bound field up to date with its variable; clip is the one
// holding it (its parent when null).
void syncBoundField(ScriptBridge& bridge, stage::EditText& field, stage::MovieClip* clip = nullptr);
// Sets the variable of a bound field after a script changed its text.
void storeBoundVariable(ScriptBridge& bridge, stage::EditText& field);
// After a user changed a field's text: its variable takes the text and its
// listeners (the field first) hear onChanged.
void announceTyping(ScriptBridge& bridge, stage::EditText& field);

} // namespace tesmar::bridge
