#include <iostream>
#include <string>
#include <vector>

#include "cli/qvrctl.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  qvr::PrepareStandardStreams();
  // File names on the command line reach the program as UTF-8 on every system.
  std::vector<std::string> arguments = qvr::Utf8Arguments(argc, argv);
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return qvr::RunQvrctl(int(arguments.size()), pointers.data(), std::cout, std::cerr);
}
