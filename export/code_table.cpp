#include "export/code_table.hpp"

namespace velmorta::fab {
namespace {

UsedCode& Add(CodeTable& table, std::int32_t code, const Settings& settings, SizeList list,
              const Renumbering& numbers, std::string_view fileName) {
  const auto found = table.find(code);
  if (found != table.end()) return found->second;
  return table[code] = UsedCode{code, numbers(code), SizeOfCode(settings, list, code, fileName), 0};
}

}  // namespace

CodeTable GerberCodes(const GerberProgram& program, const Settings& settings, Output file,
                      std::string_view fileName) {
  const SizeList list = ListOf(file);
  const Renumbering numbers(EntriesOf(settings, list), kLowestAperture, kHighestAperture, "aperture");
  CodeTable table;
  UsedCode* current = nullptr;
  for (const GerberOp& op : program.ops) {
    if (op.kind == GerberOpKind::Select) current = &Add(table, op.code, settings, list, numbers, fileName);
    // Reading the file made sure that nothing is drawn before a selection.
    if ((op.kind == GerberOpKind::Draw || op.kind == GerberOpKind::Flash) && current != nullptr) ++current->uses;
  }
  return table;
}

CodeTable DrillCodes(const DrillProgram& program, const Settings& settings, std::string_view fileName) {
  const Renumbering numbers(settings.ToolList, kLowestTool, kHighestTool, "drill tool");
  CodeTable table;
  UsedCode* current = nullptr;
  for (const DrillOp& op : program.ops) {
    if (op.kind == DrillOpKind::Select) current = &Add(table, op.tool, settings, SizeList::Tool, numbers, fileName);
    if (op.kind == DrillOpKind::Hit && current != nullptr) ++current->uses;
  }
  return table;
}

}  // namespace velmorta::fab
