#include "program_front.h"

#include <getopt.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <utility>

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

OptionParser::OptionParser(int argc, char** argv, std::string program, const char* shortOptions,
                           const option* longOptions)
    : program_(std::move(program)), shortOptions_(shortOptions), longOptions_(longOptions) {
  words_.push_back(program_);
  for (int i = 1; i < argc; ++i) words_.emplace_back(argv[i]);
  for (std::string& word : words_) pointers_.push_back(word.data());
  pointers_.push_back(nullptr);
  optind = 1;
}

int OptionParser::Next() {
  return getopt_long(static_cast<int>(words_.size()), pointers_.data(), shortOptions_, longOptions_, nullptr);
}

const char* OptionParser::Value() const { return optarg; }

std::vector<std::string> OptionParser::Rest() const {
  return {pointers_.begin() + std::min<std::ptrdiff_t>(optind, static_cast<std::ptrdiff_t>(words_.size())),
          pointers_.end() - 1};
}

int OptionParser::Refuse(std::string_view what) const {
  if (!what.empty()) std::cerr << program_ << ": " << what << '\n';
  std::cerr << "Try '" << program_ << " --help' for more information.\n";
  return kExitUsage;
}

}  // namespace zorv
