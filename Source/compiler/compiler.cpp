#include "compiler/compiler.h"

#include "compiler/exception.h"
#include "compiler/lexer.h"
#include "compiler/parse_walker.h"
#include "compiler/parser.h"
#include "compiler/token_reader.h"
#include "util/output_limit.h"
#include "util/util.h"

namespace {

const char kNotCompiled[] = "{\"out_vars\":[],\"error_info\":\"formula is not compiled\"}";

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
    m_texts.clear();
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

std::string Compiler::Run() {
  if (!m_evaluator) return kNotCompiled;
  try {
    // Incremental: after an append or a replaced last row only the changed
    // bars are computed again.
    m_evaluator->Run(m_tree);
    m_evaluator->m_env.Reset();
    return OutputJson();
  } catch (const Exception& error) {
    m_texts.clear();
    return error.ToString();
  }
}

std::string Compiler::OutputJson() {
  // The same text as Result::JsonString(): each output's values are cut back
  // to the first bar that changed since the previous run and formatted from
  // there on.
  const std::vector<Evaluator::Output>& outputs = m_evaluator->Outputs();
  // A result near the length a run may return goes through Result, which
  // measures and refuses it.
  size_t least = 0;
  for (const Evaluator::Output& output : outputs) {
    least += output.draws ? 0 : output.state->value.m_raw_data.size() * 8;
  }
  if (least > kMaxOutputBytes) {
    m_texts.clear();
    return m_evaluator->ToResult().JsonString();
  }
  if (m_texts.size() != outputs.size()) m_texts.assign(outputs.size(), OutputText());
  size_t estimate = 64;
  for (size_t k = 0; k < outputs.size(); ++k) {
    static const std::vector<double> kNone;
    const Evaluator::Output& output = outputs[k];
    const std::vector<double>& values = output.draws ? kNone : output.state->value.m_raw_data;
    OutputText& text = m_texts[k];
    size_t from = output.state->changed;
    if (from > values.size()) from = values.size();
    if (from > text.count) from = text.count;
    if (from == text.count && from == values.size()) {
      // unchanged
    } else if (from == 0 || text.count - from > text.count / 2) {
      text.values.clear();
      from = 0;
    } else {
      // Numbers hold no commas: drop one comma-separated value per bar.
      size_t end = text.values.size();
      for (size_t dropped = 0; dropped < text.count - from; ++dropped) {
        size_t comma = text.values.rfind(',', end - 1);
        end = comma == std::string::npos ? 0 : comma;
      }
      text.values.resize(end);
    }
    for (size_t i = from; i < values.size(); ++i) {
      if (i) text.values += ',';
      Util::AppendFixed6(text.values, values[i]);
    }
    text.count = values.size();
    estimate += 320 + text.values.size();
  }
  std::string out;
  out.reserve(estimate);
  out += "{\"out_vars\":[";
  const size_t frame = out.size();
  for (size_t k = 0; k < outputs.size(); ++k) {
    const Evaluator::Output& output = outputs[k];
    if (k) out += ',';
    out += "{\"name\":\"";
    out += output.name;
    out += "\",\"datas\":[";
    out += m_texts[k].values;
    out += "],\"draw\":";
    if (output.draws) {
      output.state->value.m_draw_entry.AppendJson(out);
    } else {
      DrawEntry().AppendJson(out);
    }
    out += ",\"properties\":[";
    for (size_t i = 0; i < output.properties.size(); ++i) {
      if (i) out += ',';
      out += '"';
      out += output.properties[i];
      out += '"';
    }
    out += "]}";
  }
  out += "],\"error_info\":\"\"}";
  if (out.size() > kMaxOutputBytes && frame > 0) {
    out = std::string();
    return m_evaluator->ToResult().JsonString();
  }
  return out;
}
