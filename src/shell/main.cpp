#include <cstdio>

int main() {
    std::puts("quillon: the engine's runner is being built");
    return 0;
}
