#include "cli/FigureOptions.h"

FigureOptionKind FigureOptionOf(std::string_view name) {
  if (name == "--tone" || name == "--allan") return FigureOptionKind::Switch;
  if (name == "--histogram" || name == "--allan-csv" || name == "--histogram-png" || name == "--allan-png") {
    return FigureOptionKind::File;
  }
  return FigureOptionKind::None;
}

void ApplyFigureSwitch(std::string_view name, FigureOptions& figures) {
  (name == "--tone" ? figures.tone : figures.allan) = true;
}

std::string& FigureFileOf(std::string_view name, FigureOptions& figures) {
  if (name == "--histogram") return figures.histogram;
  if (name == "--allan-csv") return figures.allanCsv;
  if (name == "--histogram-png") return figures.histogramPng;
  return figures.allanPng;
}
