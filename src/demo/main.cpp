#include "demo/SampleApplication.h"

#include <iostream>
#include <new>

// 0 once the user has closed the window or the frames asked for are drawn; 1 when the window or
// its OpenGL view could not be made, or the screenshot asked for could not be saved; 2 for a
// command line that cannot be followed.
int main(int argc, char** argv)
{
    vardel::demo::Options options;
    if (std::optional<int> status = options.parse(argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    auto* application = new (std::nothrow) vardel::demo::SampleApplication(options);
    if (!application) {
        return 1;
    }
    int status = application->run() && !application->screenshotFailed ? 0 : 1;
    application->release();
    return status;
}
