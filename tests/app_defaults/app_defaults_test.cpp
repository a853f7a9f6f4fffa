// The application defaults file the build wrote against the fallback list
// compiled into the program.  The toolkit reads one or the other, never both,
// so the two must hold the same resources: compared entry by entry, as the
// resource manager reads them.  Needs no display.
//
// Usage: app_defaults_test FILE

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdio>
#include <map>
#include <string>

#include "ui/fallback_resources.h"

namespace {

// Resource name as written ("*labelC1.labelString") to its value.
using Entries = std::map<std::string, std::string>;

Bool collect(XrmDatabase *, XrmBindingList bindings, XrmQuarkList quarks, XrmRepresentation *,
             XrmValue *value, XPointer closure) {
    std::string name;
    for (int i = 0; quarks[i] != NULLQUARK; ++i) {
        if (bindings[i] == XrmBindLoosely)
            name += '*';
        else if (i > 0)
            name += '.';
        name += XrmQuarkToString(quarks[i]);
    }
    (*reinterpret_cast<Entries *>(closure))[name] = static_cast<const char *>(value->addr);
    return False;  // go on
}

Entries entries_of(XrmDatabase database) {
    Entries entries;
    XrmQuark none = NULLQUARK;
    XrmEnumerateDatabase(database, &none, &none, XrmEnumAllLevels, collect,
                         reinterpret_cast<XPointer>(&entries));
    return entries;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    XrmInitialize();
    XrmDatabase file = XrmGetFileDatabase(argv[1]);
    if (!file) {
        std::printf("FAILED: cannot read %s\n", argv[1]);
        return 1;
    }
    XrmDatabase fallback = nullptr;
    size_t lines = 0;
    for (const String *line = yarx::ui::fallback_resources; *line; ++line, ++lines)
        XrmPutLineResource(&fallback, *line);

    const Entries want = entries_of(fallback), got = entries_of(file);
    XrmDestroyDatabase(fallback);
    XrmDestroyDatabase(file);
    int failures = 0;
    auto fail = [&](const std::string &what) {
        std::printf("FAILED: %s\n", what.c_str());
        ++failures;
    };
    // Two lines for one resource would hide one of them in either list.
    if (want.size() != lines)
        fail(std::to_string(lines) + " fallback lines make only " + std::to_string(want.size()) +
             " resources");
    for (const auto &[name, value] : want) {
        const auto found = got.find(name);
        if (found == got.end())
            fail(name + " is missing from the file");
        else if (found->second != value)
            fail(name + ": the file says '" + found->second + "', the program '" + value + "'");
    }
    for (const auto &[name, value] : got)
        if (!want.count(name)) fail(name + ": '" + value + "' is in the file only");

    if (failures == 0) std::printf("%zu resources, the same in the file and the program\n", lines);
    return failures == 0 ? 0 : 1;
}
