#include <cstdio>

int main() {
    std::fprintf(stderr, "mervox-board: not built yet\n");
    return 1;
}
