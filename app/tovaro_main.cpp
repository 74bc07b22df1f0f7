// Entry point of the player.
#include "app/log.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    return 0;
}
