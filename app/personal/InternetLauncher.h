#pragma once

// The internet launcher: opens a web address (the settings "URLHomePage" and "URLDownLoad" of the
// menu bar's internet menu) in the user's browser.
//
// It first writes the Internet shortcut file (the resource "TempUrlFileName" in the user folder:
// "[InternetShortcut]\nURL=" and the address, no line end) and hands the address to the
// desktop's opener; after a success the setting "WebBrowser" is stored empty and the shortcut
// stays. When the desktop cannot open it, the shortcut goes and a browser is looked for: the
// program the user names for web pages (asked with the local page "VL97.htm", written from the
// resources "HtmlFakePageStart" + address + "HtmlFakePageEnd" when it is not there), then the
// "WEB" entry of win.ini's "extensions" section, then the remembered "WebBrowser". That program
// is started in its own folder with the address ("file:" taken off its front) as its one
// argument, never through a shell; once it runs it is remembered as "WebBrowser". With no
// browser at all the resource "MsgNoBrowserInstalled" is shown. The local page lives only
// during the call.

#include "framework/runtime/Value.h"

#include <cstdint>

// 1 when a browser was started (by the desktop or by the launcher itself), else 0. An address
// that is no string opens nothing.
int32_t openInternetPage(const qelValue& address);

// The program the user named for pages like the one at path, as a string value; nil when the
// file is not there or no program is named.
qelValue findAssociatedProgram(const qelValue& path);

// Opens the file or address with the desktop's program for it. Only the verb "open" (nil is
// "open") is known, and the desktop's programs take no parameters: 1 when the program was
// started, else 0.
int32_t openDocument(const qelValue& verb, const qelValue& target, const qelValue& parameters);
