#pragma once

#include <QString>

// Where the hand-over channel of one user on one display lives. A later
// start may give its file only to an instance whose windows the user sees,
// and nobody else may listen on the channel or reach it.
namespace handover {

// The display this start's windows appear on, as a key, or empty when the
// platform shows them on no display the user sees (offscreen and the like).
// `platform` is the window system's plugin ("xcb", "wayland", ...);
// `x11Display` the X display (DISPLAY or the -display switch),
// `waylandDisplay` WAYLAND_DISPLAY. An X display is normalised: the local
// host is the empty host ("unix:0", "unix/:0" and ":0" agree), a missing
// screen is screen 0 (":0" and ":0.0" agree), leading zeros and the host's
// case do not count. Any other host, "localhost" included, is kept apart.
QString DisplayKey(const QString& platform, const QString& x11Display, const QString& waylandDisplay);

// Whether `path` is a folder, not a link to one, owned by user `uid` that
// neither its group nor others may read, write or enter.
bool IsPrivateFolder(const QString& path, unsigned uid);

// The folder for the channel: `runtimeDir` (the user's runtime folder) when
// it is an absolute path to a private folder, else "kestrix-UID" in
// `tempDir`, made with mode 0700 if missing and checked like `runtimeDir`.
// Empty when neither is private to `uid`: then there is no hand-over.
QString PrivateFolder(const QString& runtimeDir, const QString& tempDir, unsigned uid);

// The channel's socket in `folder` for user `uid` on display `displayKey`.
QString SocketPath(const QString& folder, unsigned uid, const QString& displayKey);

// The socket of this process's user on the display of this start, or empty
// for none. `x11DisplayOption` is the value of a -display switch, if given.
QString SocketPathOfThisStart(const QString& platform, const QString& x11DisplayOption);

} // namespace handover
