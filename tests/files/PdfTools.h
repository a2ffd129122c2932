// Reading a written PDF back as a person would: its text (pdftotext), its words with
// their boxes, its embedded images, and its pages as pixels (pdftoppm).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// The standard output of a shell command.
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
    ::pclose(pipe);
  }
  return out;
}

inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// The page's text, one printed line per text line.
inline std::string PdfText(const std::filesystem::path& pdf) {
  return CommandOutput("pdftotext -layout " + Quoted(pdf) + " -");
}

// What a reader complains of in the document (a broken table, a wrong length); empty
// when it reads it cleanly.
inline std::string PdfComplaints(const std::filesystem::path& pdf) {
  return CommandOutput("pdftotext " + Quoted(pdf) + " /dev/null 2>&1");
}

// One word of the page with its box in points.
struct PdfWord {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::string text;
  double Height() const { return yMax - yMin; }
};
inline std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf) {
  const std::string html = CommandOutput("pdftotext -bbox " + Quoted(pdf) + " -");
  const std::regex word(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  std::vector<PdfWord> words;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
    const auto& m = *it;
    words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
  }
  return words;
}

// The first word that starts with start; a failure of the test, and an empty word,
// when the page has none.
inline PdfWord FindWord(const std::vector<PdfWord>& words, const std::string& start) {
  for (const PdfWord& word : words) {
    if (word.text.rfind(start, 0) == 0) return word;
  }
  ADD_FAILURE() << start << " not on the page";
  return PdfWord{};
}

// Width and height of every image the PDF embeds, in order.
struct PdfImage {
  int width = 0;
  int height = 0;
};
inline std::vector<PdfImage> PdfImages(const std::filesystem::path& pdf) {
  std::istringstream list(CommandOutput("pdfimages -list " + Quoted(pdf)));
  std::vector<PdfImage> images;
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    int page = 0, number = 0;
    std::string type;
    PdfImage image;
    if (fields >> page >> number >> type >> image.width >> image.height) images.push_back(image);
  }
  return images;
}

// The top `rows` pixel rows of the first page rendered at dpi without smoothing, as a
// grey-scale picture beside the PDF.
inline std::filesystem::path RenderPage(const std::filesystem::path& pdf, int dpi, int rows) {
  const std::filesystem::path stem = pdf.parent_path() / "page";
  CommandOutput("pdftoppm -r " + std::to_string(dpi) + " -H " + std::to_string(rows) +
                " -W 100000 -gray -aa no -aaVector no -singlefile " + Quoted(pdf) + " " + Quoted(stem));
  return stem.string() + ".pgm";
}
