// setupshim: colours the console, prints the banner and hands the installation
// to tvs.bat beside it. Arguments are ignored; the exit code is always 0.
#include <cstdlib>
#include <initializer_list>

int wmain(int, wchar_t**) {
    // Each step runs in its own command processor and is waited for; results do not matter.
    for (const char* step : {"color 17", "echo Installing Tarvos...", "echo ==============================", "tvs.bat",
                             "exit"})
        std::system(step);
    return 0;
}
