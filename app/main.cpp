#include "app/Startup.h"

int main()
{
    return Quorvane::Startup::Main();
}
