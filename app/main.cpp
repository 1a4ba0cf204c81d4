// The velarim program. Until the window and the environment land, it announces itself.
#include <cstdio>

int main()
{
    std::printf("Velarim 98 1.0\n");
    return 0;
}
