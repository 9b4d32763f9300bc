#include <string_view>
#include <vector>

#include "app/main_sequence.hpp"

int main(int argc, char** argv) {
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return starvane::RunStarvane(args);
}
