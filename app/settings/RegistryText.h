#pragma once

// The registry export text format, as the file store keeps HKEY_CURRENT_USER:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Brenlow\Trayvane]
//   "Width"=dword:00000364
//   "Title"="text with \"quotes\" and \\ backslashes"
//   "Raw"=hex:01,ff
//   "Other"=hex(b):00,00,00,00,01,00,00,00
//   @="the key's default value"
//
// Read: an optional UTF-8 byte-order mark; the header line ("REGEDIT4" is accepted too); blank
// lines and ";" comments; key lines naming keys of HKEY_CURRENT_USER; value lines as above, hex
// data continued over lines ending in "\". Key and value names compare without regard to the
// case of A-Z; a repeated key adds to it, a repeated value replaces it. Deletions ("[-key]",
// "=-"), other roots and anything else are errors. Lines may end in LF or CR LF.

#include "app/settings/RegistryException.h"
#include "app/settings/RegistryStore.h"

#include <string>
#include <vector>

struct TRegistryNamedValue {
    std::string Name; // "" for the key's default value
    TRegistryValue Value;
};

struct TRegistryKeyContent {
    std::string Path; // below HKEY_CURRENT_USER, "Software\Brenlow\Trayvane"; "" for the root
    std::vector<TRegistryNamedValue> Values;
};

// Keys in the order they were first named, values in the order they were first set.
using TRegistryContent = std::vector<TRegistryKeyContent>;

// The error of a text that is not in the format: "line <n>: <what is wrong>".
DECLARE_EXCEPTION_CLASS(ERegistryTextError, ERegistryException);

TRegistryContent ParseRegistryText(const std::string& Text);

// The text of Content, LF line ends, one blank line before each key. A RegDword of 4 bytes is
// written as dword, a RegSz whose data end in their only zero byte and hold no line break as a
// string, RegBinary as hex, every other value as hex(<type>). Names and paths must hold no CR,
// LF or zero byte (IsRepresentableRegistryName); this is not checked.
std::string FormatRegistryText(const TRegistryContent& Content);

// Whether Name can stand in the text as a key path component or value name.
bool IsRepresentableRegistryName(const std::string& Name);

// The key of Content whose path is Path (without regard to case), or nullptr.
TRegistryKeyContent* FindRegistryKey(TRegistryContent& Content, const std::string& Path);

// The value of Key named Name (without regard to case), or nullptr.
TRegistryNamedValue* FindRegistryValue(TRegistryKeyContent& Key, const std::string& Name);

// Sets the value Name of Key, replacing one of that name (keeping its place and spelling).
void SetRegistryValue(TRegistryKeyContent& Key, const std::string& Name,
                      const TRegistryValue& Value);
