#include "app/application.h"

int main(int argc, char** argv) {
    return zelvar::runApplication(argc, argv);
}
