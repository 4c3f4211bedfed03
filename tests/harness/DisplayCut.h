#pragma once

// Breaks the application's connection to the X server as a server that dies or a network that
// drops would: the socket is shut down under Xlib, whose next read or write then fails. Any
// thread. Returns false where there is no X connection.
bool cutDisplayConnection();
