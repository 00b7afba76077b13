// embedded-resource ID: writes the bytes of the resource of that id, as the
// program embedded them, to standard output. Exit 1 when there is none.

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const int id = std::atoi(argv[1]);
    for (const platform::Resource& resource : platform::gameModule()->resources) {
        if (resource.id != id) continue;
        const size_t written = std::fwrite(resource.bytes.data(), 1, resource.bytes.size(), stdout);
        return written == resource.bytes.size() && std::fflush(stdout) == 0 ? 0 : 1;
    }
    return 1;
}
