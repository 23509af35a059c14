// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// The per-user settings store: a tree of keys under seven named roots, each key holding named
// text values. On Linux every key is a folder below
// ${XDG_CONFIG_HOME:-$HOME/.config}/ketrano/registry/ and every value a file in it.
// The module keeps its message handler between calls; use it from one thread only.
namespace Registry {

// Receives the "Incorrect Format:" message of a malformed key path. Unset: the message is
// written to stderr.
void setMessageHandler(std::function<void(const QString&)> handler);

// The value's text; "Error" when the key or the value cannot be read (values of 255 bytes or
// more cannot); empty when the key path is malformed or names no known root.
QString ReadValue(const QString& keyPath, const QString& valueName);
// The text before its first NUL; empty when the whole text, upper-cased, is "ERROR".
QString CleanValue(const QString& text);
// Creates the key and the keys above it; an existing key is left as it is. False when it
// cannot be created, with the reason in *error when given.
bool CreateKey(const QString& keyPath, QString* error = nullptr);
// Sets a value of an existing key, atomically; does nothing when the key does not exist.
// False when the value was not written (no key, no access, a full disk), with the reason in
// *error when given; the value then keeps its old text.
bool WriteValue(const QString& keyPath, const QString& valueName, const QString& text,
                QString* error = nullptr);

// The steps every operation but CleanValue takes with its key path.
enum class Root {
    None,
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
    PerformanceData,
    CurrentConfig,
    DynData
};
Root RootKeyFromName(const QString& name);
// Splits "HKEY_...\sub\key" into its root and "sub\key". Shows the "Incorrect Format:"
// message and returns Root::None for a path that does not start with "HKEY_" or that ends
// with a backslash.
Root ParseKeyPath(QString& keyPath);
// The folder that holds the store.
QString storeFolder();

} // namespace Registry
