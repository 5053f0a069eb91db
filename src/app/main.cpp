#include "CParlivoApp.h"
#include "MediaBackend.h"

int main(int argc, char* argv[])
{
    lectoria::platform::QuietMediaBackend();
    lectoria::ui::CParlivoApp app(argc, argv);
    return app.Run();
}
