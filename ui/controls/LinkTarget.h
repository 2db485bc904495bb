#pragma once
// Links that controls open when clicked. Only web pages and mail addresses
// are opened: a link text comes from skins and settings, and must never run
// a program or open a local file. Any thread.

namespace vxui {

// True for "http:", "https:" and "mailto:" targets (scheme in any case)
// without blanks or control characters.
bool IsOpenableLink(const char* target);
// Opens the target with the desktop's default application ("open",
// maximised, no error UI); false (and nothing opened) for any other target.
bool OpenLink(const char* target);

}  // namespace vxui
