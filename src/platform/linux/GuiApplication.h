#pragma once

// Qt's X11 native interface (included by <QGuiApplication>) declares Xlib's `Display` typedef in the global
// namespace, which clashes with the program's own `Display` struct. Include <QGuiApplication> through this header,
// before anything else includes it, so that Qt's declaration is made under another name.
#define Display QtXlibDisplay
#include <QGuiApplication>
#undef Display
