#include "platform/linux/argument_words.h"

namespace pellox {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Inside double quotes a backslash escapes only these; before anything else
// it stands for itself, as in the shell.
bool EscapableInDoubleQuotes(char c) {
  return c == '"' || c == '\\' || c == '$' || c == '`' || c == '\n';
}

// The word splitter walks the text once; `word` collects the current word
// and `inWord` tells an empty quoted word ('') from no word at all.
class WordSplitter {
 public:
  explicit WordSplitter(std::string_view text) : text_(text) {}

  std::vector<std::string> Split() {
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (IsBlank(c)) {
        EndWord();
      } else if (c == '\'') {
        SingleQuoted();
      } else if (c == '"') {
        DoubleQuoted();
      } else if (c == '\\') {
        Escaped();
      } else {
        Append(c);
      }
    }
    EndWord();
    return std::move(words_);
  }

 private:
  void Append(char c) {
    word_ += c;
    inWord_ = true;
  }

  void EndWord() {
    if (inWord_) words_.push_back(std::move(word_));
    word_.clear();
    inWord_ = false;
  }

  void SingleQuoted() {
    inWord_ = true;
    while (pos_ < text_.size() && text_[pos_] != '\'') word_ += text_[pos_++];
    if (pos_ < text_.size()) ++pos_;
  }

  void DoubleQuoted() {
    inWord_ = true;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      char c = text_[pos_++];
      if (c == '\\' && pos_ < text_.size() && EscapableInDoubleQuotes(text_[pos_])) {
        c = text_[pos_++];
        if (c == '\n') continue;  // a line continuation
      }
      word_ += c;
    }
    if (pos_ < text_.size()) ++pos_;
  }

  void Escaped() {
    if (pos_ == text_.size()) {
      Append('\\');  // nothing left to escape: keep the backslash itself
      return;
    }
    char c = text_[pos_++];
    if (c == '\n') return;  // a line continuation joins the two lines
    Append(c);
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::string word_;
  bool inWord_ = false;
  std::vector<std::string> words_;
};

}  // namespace

std::vector<std::string> SplitArgumentWords(std::string_view text) {
  return WordSplitter(text).Split();
}

}  // namespace pellox
