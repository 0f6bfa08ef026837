// Runs a fuzz target without libFuzzer: every file of the seed corpus, then
// mutations of them (byte flips, inserts, cuts, splices) from a fixed seed, for
// a bounded number of runs and time. With clang, the same targets link against
// libFuzzer instead (see fuzz/CMakeLists.txt).
//
//   TARGET [--runs N] [--seconds S] [--seed K] CORPUS_DIR...
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static void readCorpus(const std::string &dir, std::vector<std::string> &inputs)
{
  DIR *d = opendir(dir.c_str());
  if (!d) {
    std::fprintf(stderr, "cannot read corpus %s\n", dir.c_str());
    std::exit(2);
  }
  while (dirent *entry = readdir(d)) {
    if (entry->d_name[0] == '.')
      continue;
    std::ifstream file(dir + "/" + entry->d_name, std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  closedir(d);
}

static std::string mutate(const std::vector<std::string> &inputs, std::mt19937 &random)
{
  std::string input = inputs.empty() ? std::string() : inputs[random() % inputs.size()];
  int steps = 1 + random() % 8;
  for (int i = 0; i < steps; i++) {
    size_t at = input.empty() ? 0 : random() % (input.size() + 1);
    switch (random() % 6) {
    case 0:   // flip a bit
      if (!input.empty())
        input[at % input.size()] ^= static_cast<char>(1u << (random() % 8));
      break;
    case 1:   // insert a random or interesting byte
    {
      static const char interesting[] = {'\0', '\r', '\n', ' ', '"', '\'', ',', '(', ')', '\xff', '9', '.'};
      char c = random() % 2 ? static_cast<char>(random()) : interesting[random() % sizeof interesting];
      input.insert(at, 1, c);
      break;
    }
    case 2:   // cut a piece
      if (!input.empty())
        input.erase(at % input.size(), 1 + random() % 16);
      break;
    case 3:   // repeat a piece (long lines, long numbers)
      if (!input.empty()) {
        size_t from = at % input.size();
        std::string piece = input.substr(from, 1 + random() % 8);
        for (int n = random() % 64; n > 0; n--)
          input.insert(from, piece);
      }
      break;
    case 4:   // splice with another input
      if (!inputs.empty()) {
        const std::string &other = inputs[random() % inputs.size()];
        input = input.substr(0, at) + other.substr(other.empty() ? 0 : random() % other.size());
      }
      break;
    default:  // truncate
      input.resize(at);
      break;
    }
  }
  return input;
}

int main(int argc, char **argv)
{
  long runs = 20000;
  double seconds = 10;
  unsigned seed = 1;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; i++) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
      runs = std::atol(argv[++i]);
    else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
      seed = static_cast<unsigned>(std::atol(argv[++i]));
    else
      readCorpus(argv[i], inputs);
  }
  for (const std::string &input : inputs)
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.data()), input.size());

  std::mt19937 random(seed);
  auto start = std::chrono::steady_clock::now();
  long done = 0;
  for (; done < runs; done++) {
    if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds)
      break;
    std::string input = mutate(inputs, random);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.data()), input.size());
  }
  std::printf("%zu seed inputs and %ld mutations ran clean\n", inputs.size(), done);
  return 0;
}
