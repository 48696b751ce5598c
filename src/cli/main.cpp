#include <iostream>

#include "cli/qvrctl.h"

int main(int argc, char** argv) {
  return qvr::RunQvrctl(argc, argv, std::cout, std::cerr);
}
