#include "program_front.h"

#include <exception>
#include <iostream>

namespace zorv {

std::string ProgramName(const char* argv0, std::string_view fallback) {
  const std::string_view invoked = argv0 != nullptr ? argv0 : "";
  const std::string_view name = invoked.substr(invoked.rfind('/') + 1);
  return std::string(name.empty() ? fallback : name);
}

int UsageError(std::string_view program, std::string_view what) {
  std::cerr << program << ": " << what << "\nTry '" << program << " --help' for more information.\n";
  return kExitUsage;
}

int Failure(std::string_view program, std::string_view what) {
  std::cerr << program << ": " << what << '\n';
  return kExitFailure;
}

std::optional<CollectionFolder> UseCollectionFolder(const char* argv0, std::string_view program) {
  CollectionFolder folder = ChooseCollectionFolder(argv0 != nullptr ? argv0 : "");
  try {
    CreateCollectionFolder(folder);
  } catch (const std::exception& failure) {
    Failure(program, failure.what());
    return std::nullopt;
  }
  return folder;
}

std::string CommandTextOf(const std::vector<std::string>& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += ' ';
    text += words[i];
  }
  return text;
}

GetoptArguments::GetoptArguments(int argc, char** argv, const std::string& program) {
  words_.push_back(program);
  for (int i = 1; i < argc; ++i) words_.emplace_back(argv[i]);
  for (std::string& word : words_) pointers_.push_back(word.data());
  pointers_.push_back(nullptr);
}

}  // namespace zorv
