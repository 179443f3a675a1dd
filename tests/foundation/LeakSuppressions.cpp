// The leak checker of the sanitizer build reads these: Qt keeps its font
// engines and the font libraries their caches until the process ends, which
// the checker reports once a test has drawn a progress bar's text.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libharfbuzz.so\n"
           "leak:QFreetypeFace\n"
           "leak:QFontEngineFT\n"
           "leak:libQt6Gui.so\n";
}
