// The stand-in for the mail client process. For now it only reports that the host is not
// yet able to load the add-in; the real loop comes with the add-in shell.
#include <cstdio>

int main()
{
    std::puts("tallyman: the host cannot load the report add-in yet.");
    return 0;
}
