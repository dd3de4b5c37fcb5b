// Sanitizer builds only (KORVANE_SANITIZE): every library loaded at run time stays loaded
// until the process ends.
//
// The leak check runs after exit, when Xlib and SDL have already closed the GL driver
// (Mesa's software rasteriser, loaded with dlopen). Memory the driver still held through
// its own globals would then show as leaked, with frames in an "<unknown module>" that no
// suppression can name. With dlclose a no-op the driver's globals stay scanned and its
// frames keep their names, so tests/lsan.supp can stay a short list of library names.

extern "C" __attribute__((visibility("default"))) int dlclose(void*)
{
    return 0;
}
