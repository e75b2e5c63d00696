#include "compiler/compiler.h"

#include "compiler/exception.h"
#include "compiler/lexer.h"
#include "compiler/parse_walker.h"
#include "compiler/parser.h"
#include "compiler/token_reader.h"

namespace {

const char kNotCompiled[] = "{\"out_vars\":[],\"error_info\":\"formula is not compiled\"}";

}  // namespace

Compiler::Compiler(std::string text)
    : m_bars(std::make_shared<BarData>()), m_text(std::move(text)) {}

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
    m_evaluator = std::make_unique<Evaluator>();
    return std::string();
  } catch (const Exception& error) {
    return error.ToString();
  }
}

void Compiler::Data(const std::vector<std::map<std::string, std::string>>& rows) {
  m_bars = std::make_shared<const BarData>(rows);
}

void Compiler::Data(std::shared_ptr<const BarData> rows) {
  m_bars = rows ? std::move(rows) : std::make_shared<const BarData>();
}

void Compiler::Period(unsigned long period) {
  if (m_evaluator) m_evaluator->m_env.m_period = period;
}

std::string Compiler::Run() {
  if (!m_evaluator) return kNotCompiled;
  try {
    Result result = m_evaluator->Evaluate(m_tree, m_bars);
    m_evaluator->m_env.Reset();
    return result.JsonString();
  } catch (const Exception& error) {
    return error.ToString();
  }
}
