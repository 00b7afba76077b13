// File names by the time.

#include "shell/time_names.h"

std::string timeName(std::time_t when, int number, std::string_view extension) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    std::string name = std::string("Kordavan ") + stamp;
    if (number > 1) name += " (" + std::to_string(number) + ")";
    return name + std::string(extension);
}
