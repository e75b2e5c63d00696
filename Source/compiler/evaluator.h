#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/bar_data.h"
#include "compiler/data_ext.h"
#include "compiler/environment.h"
#include "compiler/incremental.h"
#include "compiler/result.h"

class Strategy;
class Table;

// Runs a checked syntax tree over the bars it was made for: statements in
// text order, operators evaluated here, function calls handed to the
// strategy that the factory names. The bars belong to the caller, who keeps
// them alive as long as the evaluator and changes them only between runs.
class Evaluator {
 public:
  // An evaluator over no bars.
  Evaluator();
  explicit Evaluator(const BarData& bars);

  // One run over the bars, every value computed afresh; variables start empty.
  Result EvaluateAll(const std::shared_ptr<AstNode>& root);

  // The value of one expression node.
  DataExt Evaluate(const std::shared_ptr<AstNode>& node);
  DataExt Call(const std::string& name, const std::shared_ptr<AstNode>& node);
  DataExt Static(const std::shared_ptr<AstNode>& node);
  DataExt Add(const std::shared_ptr<AstNode>& node);
  DataExt Mul(const std::shared_ptr<AstNode>& node);
  DataExt Equal(const std::shared_ptr<AstNode>& node);
  DataExt And(const std::shared_ptr<AstNode>& node);
  DataExt Or(const std::shared_ptr<AstNode>& node);
  DataExt Rel(const std::shared_ptr<AstNode>& node);

  const Table* m_table;
  Environment m_env;

  // ---- Incremental runs ----------------------------------------------------
  // One output of Run(): its value and first changed bar live in the state
  // of the node that computed it, kept until the next run.
  struct Output {
    std::string name;
    const NodeState* state;
    std::vector<std::string> properties;
    bool draws;
  };

  // A run that keeps what the next run needs of every node's value and
  // recomputes, on the next run, only from the first bar that the bars'
  // changes (append, replace last) and the functions' spread rules leave
  // unsettled. Prepending, replacing all bars, another tree or another
  // period recompute everything. The outputs equal EvaluateAll()'s bit for
  // bit. While a run goes on, each intermediate series is cut down to the
  // bars the next run reads of it as soon as its last reader has read it;
  // the outputs stay whole until Settle().
  const std::vector<Output>& Run(const std::shared_ptr<AstNode>& root);
  // The first bar at which any output of the last Run() differs from the run
  // before it (the bar count when none does).
  size_t FirstChanged() const;
  const std::vector<Output>& Outputs() const { return m_outputs; }
  // Whether every output holds all its bars (see Settle).
  bool Whole() const;
  // Cuts the outputs down to what the next run reads, once the caller has
  // taken what it needs: a later run then returns the bars from its first
  // changed bar on, and a run of everything needs Forget() first.
  void Settle();
  // The last Run()'s outputs as a Result (copies); only while Whole().
  Result ToResult() const;
  // Forgets every kept value: the next Run() recomputes all.
  void Forget();
  // About how many bytes the kept values take.
  size_t KeptBytes() const;

 private:
  void RunStatements(const AstNode* root, bool trim);
  // Finds, for every node of the tree, the node that reads its value last.
  void Plan(const AstNode* root);
  // Maps every node to the first node of the tree that computes the same
  // value (the same function of the same values), which holds the state.
  void Canonicalize(const AstNode* root);
  const AstNode* Canon(const AstNode* node) const;
  // `reader` has read `arg`, and reads `need` trailing bars of it again on
  // the next run; lets go of the rest when it was the last reader.
  void Read(const AstNode* reader, const NodeState& arg, size_t need);
  NodeState& StateOf(const AstNode* node);
  const NodeState& Visit(const AstNode* node);
  const NodeState& VisitChain(const AstNode* node);
  NodeState& VisitCall(const AstNode* node);
  void Compute(Strategy& strategy, NodeState& state, const std::vector<const NodeState*>& args,
               size_t from);
  void CombineInto(const AstNode& op, const NodeState& left, const NodeState& right,
                   NodeState& out);
  // Gives a node computed from bar 0 a spare buffer of `length` bars, if
  // one is free.
  void Reuse(NodeState& state, size_t length);
  NodeState& Market(const std::string& name);

  std::unordered_map<const AstNode*, NodeState> m_states;
  std::map<char, NodeState> m_columns;             // one state per bar column
  std::map<std::string, const NodeState*> m_vars;  // variables of the current run
  std::vector<Output> m_outputs;
  NodeState m_nothing;  // an unknown name: no value
  const AstNode* m_last_root = nullptr;
  uint64_t m_last_rows_id = 0;
  uint64_t m_last_version = 0;
  unsigned long m_last_period = 0;
  unsigned long m_run = 0;
  size_t m_from = 0;  // first changed row of this run (kUnchanged: none)
  bool m_trim = true;  // this run lets go of bars nobody reads again
  // The plan of m_plan_root: the last reader of each node's value, and the
  // nodes whose values are outputs.
  const AstNode* m_plan_root = nullptr;
  std::unordered_map<const AstNode*, const AstNode*> m_plan_readers;
  std::unordered_set<const AstNode*> m_plan_outputs;
  std::unordered_map<const AstNode*, const AstNode*> m_canon;
  // Buffers of series cut down during the current run, for the next nodes
  // computed from bar 0.
  std::vector<std::vector<double>> m_spare;

  // A left-deep chain of operators (1+1+...+1) is walked with a loop, so its
  // length does not touch the stack.
  DataExt EvaluateOperatorChain(const AstNode* node);
  DataExt Combine(const AstNode& op, const DataExt& left, const DataExt& right) const;
};
