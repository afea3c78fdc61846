// The information dictionary of the bundle that hosts the tool: a property
// list file `Info.plist`, XML or binary, read with libplist.
//
// Where it is found: for an executable at `<bundle>/Contents/MacOS/<tool>` it
// is `<bundle>/Contents/Info.plist`; otherwise, or when that file does not
// exist, `Info.plist` beside the executable; otherwise there is none. It is
// read once, on first use, and kept for the process. A missing, unreadable or
// malformed file, or one whose top level is not a dictionary, counts as no
// dictionary: every lookup then answers null. Nothing is reported.
//
// The kept dictionary is not guarded: call these from one thread at a time
// (no thread of a run calls them).
#ifndef PPDLOCALIZE_EXTRAS_BUNDLE_INFO_H_
#define PPDLOCALIZE_EXTRAS_BUNDLE_INFO_H_

#include <plist/plist.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ppdtext/ustring.h"

// Ownership of a libplist node tree.
struct PlistFree {
  void operator()(plist_t node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistFree>;

// Parses XML or binary property-list bytes. Answers null when they are
// empty, too large for libplist or not a property list.
Plist PlistCreateWithBytes(std::string_view bytes);

// Reads and parses the file at `path`; null when it cannot be read or parsed.
Plist PlistCreateWithFile(const std::string& path);

// The information dictionary's path for the executable at `executable`, by
// the rule at the top of this file, or "" when neither candidate exists.
std::string BundleFindInfoDictionaryPath(const std::string& executable);

// The value of `key` in the main bundle's information dictionary, or null
// when there is no dictionary or no such key. The node is borrowed from the
// kept dictionary and stays valid until the lookup is pointed elsewhere by
// one of the two calls below.
plist_t BundleGetValueForInfoDictionaryKey(UStringView key);

// Points every later lookup at the property list at `path`, read now, in
// place of the main bundle's. A file that cannot be used leaves no
// dictionary. For tests and programs that embed the library.
void BundleUseInfoDictionaryAt(const std::string& path);

// Forgets whatever was read or pointed at; the next lookup finds and reads
// the main bundle's dictionary again.
void BundleUseMainInfoDictionary();

// The entry under `key` when `dict` is a dictionary node that has one; null
// for a null node, a node of another type, a missing key, or a key that is
// not valid text (a lone surrogate or a U+0000).
plist_t PlistDictGetValue(plist_t dict, UStringView key);

// The text of a string node, or nothing for a null node, a node of another
// type, or bytes that are not UTF-8.
std::optional<UString> PlistCopyString(plist_t node);

#endif  // PPDLOCALIZE_EXTRAS_BUNDLE_INFO_H_
