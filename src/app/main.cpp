#include "CParlivoApp.h"

int main(int argc, char* argv[])
{
    lectoria::ui::CParlivoApp app(argc, argv);
    return app.Run();
}
