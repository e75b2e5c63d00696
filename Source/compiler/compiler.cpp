#include "compiler/compiler.h"

#include "compiler/exception.h"
#include "compiler/lexer.h"
#include "compiler/parse_walker.h"
#include "compiler/parser.h"
#include "compiler/token_reader.h"
#include "util/output_limit.h"

namespace {

const char kNotCompiled[] = "{\"out_vars\":[],\"error_info\":\"formula is not compiled\"}";

std::shared_ptr<const OutputText> WholeText(const std::string& text) {
  return std::make_shared<const OutputText>(std::make_shared<const TextBlock>(text));
}

}  // namespace

Compiler::Compiler(std::string text) : m_text(std::move(text)) {}

std::string Compiler::Compile() {
  try {
    Lexer lexer;
    TokenReader reader = lexer.Tokenize(m_text);
    if (m_debug) reader.Dump();
    // The new tree replaces the old one before it is checked; the evaluator
    // is replaced only once the check has passed.
    m_tree = Parser::Analyze(reader);
    if (m_debug) m_tree->Dump();
    ParseWalker walker;
    walker.Walker(m_tree);
    m_evaluator = std::make_unique<Evaluator>(m_bars);
    m_writer.Forget();
    return std::string();
  } catch (const Exception& error) {
    return error.ToString();
  }
}

void Compiler::Data(const std::vector<std::map<std::string, std::string>>& rows) {
  std::vector<BarRow> converted;
  converted.reserve(rows.size());
  for (const auto& row : rows) converted.push_back(BarData::RowFromText(row));
  m_bars.Assign(converted);
}

void Compiler::Period(unsigned long period) {
  if (m_evaluator) m_evaluator->m_env.m_period = period;
}

std::string Compiler::Run() { return RunText()->str(); }

std::shared_ptr<const OutputText> Compiler::RunText() {
  if (!m_evaluator) return WholeText(kNotCompiled);
  try {
    // Incremental: after an append or a replaced last row only the changed
    // bars are computed again, and only their values are formatted.
    m_evaluator->Run(m_tree);
    m_evaluator->m_env.Reset();
    std::shared_ptr<const OutputText> text = OutputJson();
    if (!text && !m_evaluator->Whole()) {
      // The text needs values the last run let go: compute everything.
      m_evaluator->Forget();
      m_evaluator->Run(m_tree);
      text = OutputJson();
    }
    if (!text) {
      // Too long, or near the length a run may return: Result measures the
      // text exactly and refuses it.
      text = WholeText(m_evaluator->ToResult().JsonString());
    }
    m_evaluator->Settle();
    return text;
  } catch (const Exception& error) {
    m_writer.Forget();
    return WholeText(error.ToString());
  }
}

std::shared_ptr<const OutputText> Compiler::OutputJson() {
  const std::vector<Evaluator::Output>& outputs = m_evaluator->Outputs();
  size_t least = 0;
  std::vector<OutputLine> lines;
  lines.reserve(outputs.size());
  for (const Evaluator::Output& output : outputs) {
    const NodeState& state = *output.state;
    if (output.draws || !state.IsSeries()) {
      lines.push_back(OutputLine{&output.name, nullptr, 0, 0, state.changed,
                                 output.draws ? &state.value.m_draw_entry : nullptr,
                                 &output.properties});
      continue;
    }
    const SeriesView values = state.Series();
    least += values.size() * 8;
    lines.push_back(OutputLine{&output.name, values.size() > values.base() ? values.at(values.base()) : nullptr,
                               values.base(), values.size(), state.changed, nullptr,
                               &output.properties});
  }
  if (least > kMaxOutputBytes) {
    m_writer.Forget();
    return nullptr;
  }
  return m_writer.Write(lines);
}
