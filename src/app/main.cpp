#include "app/modMain.h"

int main(int argc, char **argv)
{
    return kestrin::Main(argc, argv);
}
