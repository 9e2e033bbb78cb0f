#include "demo/SampleApplication.h"

#include <new>

// 0 once the user has closed the window; 1 when the window or its OpenGL view could not be made.
int main()
{
    auto* application = new (std::nothrow) vardel::demo::SampleApplication;
    if (!application) {
        return 1;
    }
    int status = application->run() ? 0 : 1;
    application->release();
    return status;
}
