#include "CParlivoApp.h"
#include "ProcessExit.h"

int main(int argc, char* argv[])
{
    int code = 0;
    {
        lectoria::ui::CParlivoApp app(argc, argv);
        code = app.Run();
    }
    lectoria::platform::EndProcess(code);
}
