#include "workbook/engine/formula/recalculate.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "workbook/engine/formula/cell_index.h"
#include "workbook/engine/formula/extern_sheets.h"
#include "workbook/engine/formula/formula_evaluator.h"
#include "workbook/engine/formula/formula_operand.h"
#include "workbook/engine/formula/token_cursor.h"

namespace tallowby::engine::formula {
namespace {

struct FormulaNode {
    int sheet = 0;
    CellAddress at;
    Cell* cell = nullptr;
    std::vector<size_t> dependencies;  // other formula nodes this one reads
    enum class Mark : uint8_t { Unvisited, InProgress, Done } mark = Mark::Unvisited;
    bool circular = false;
};

using NodeKey = std::pair<int, CellAddress>;

class DependencyGraph {
  public:
    DependencyGraph(Workbook& workbook, size_t maxDependencies)
        : externSheets_(workbook), cellIndex_(workbook), dependencyBudget_(maxDependencies) {
        for (size_t s = 0; s < workbook.sheets.size(); ++s) {
            const CellIndex::SheetCells& flat = cellIndex_.sheet(static_cast<int>(s));
            for (const uint32_t i : flat.formulas) {
                // The index reads the workbook; the graph, given it to change, writes results.
                Cell* cell = const_cast<Cell*>(flat.cells[i]);
                keys_.emplace_back(static_cast<int>(s), flat.addresses[i]);
                nodes_.push_back(FormulaNode{static_cast<int>(s), flat.addresses[i], cell, {}});
            }
        }
        for (FormulaNode& node : nodes_) collectDependencies(node);
    }

    const ExternSheets& externSheets() const { return externSheets_; }
    const CellIndex& cellIndex() const { return cellIndex_; }

    // Formula nodes, each after those it depends on; cells of cycles marked.
    std::vector<size_t> evaluationOrder() {
        std::vector<size_t> order;
        order.reserve(nodes_.size());
        // An explicit stack: a long chain of formulas must not exhaust the call stack.
        std::vector<std::pair<size_t, size_t>> path;  // node, next dependency to visit
        for (size_t start = 0; start < nodes_.size(); ++start) {
            if (nodes_[start].mark != FormulaNode::Mark::Unvisited) continue;
            nodes_[start].mark = FormulaNode::Mark::InProgress;
            path.emplace_back(start, 0);
            while (!path.empty()) {
                auto& [node, nextDep] = path.back();
                FormulaNode& current = nodes_[node];
                if (nextDep < current.dependencies.size()) {
                    const size_t dep = current.dependencies[nextDep++];
                    FormulaNode& target = nodes_[dep];
                    if (target.mark == FormulaNode::Mark::Unvisited) {
                        target.mark = FormulaNode::Mark::InProgress;
                        path.emplace_back(dep, 0);
                    } else if (target.mark == FormulaNode::Mark::InProgress) {
                        markCycle(path, dep);
                    }
                    continue;
                }
                current.mark = FormulaNode::Mark::Done;
                order.push_back(node);
                path.pop_back();
            }
        }
        return order;
    }

    FormulaNode& node(size_t i) { return nodes_[i]; }

  private:
    // Every node from `target` to the top of the path reaches the next and
    // the top reaches `target`: they form a cycle.
    void markCycle(const std::vector<std::pair<size_t, size_t>>& path, size_t target) {
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            nodes_[it->first].circular = true;
            if (it->first == target) break;
        }
    }

    void addRange(FormulaNode& node, int sheet, CellAddress a, CellAddress b) {
        const uint16_t r1 = std::min(a.row, b.row), r2 = std::max(a.row, b.row);
        const uint16_t c1 = std::min(a.col, b.col), c2 = std::max(a.col, b.col);
        auto it = std::lower_bound(keys_.begin(), keys_.end(), NodeKey{sheet, CellAddress{r1, c1}});
        const auto end = std::upper_bound(it, keys_.end(), NodeKey{sheet, CellAddress{r2, c2}});
        for (; it != end; ++it) {
            const CellAddress& at = it->second;
            if (at.col < c1 || at.col > c2) continue;
            if (dependencyBudget_ == 0) throw RecalculationTooLarge();
            --dependencyBudget_;
            node.dependencies.push_back(static_cast<size_t>(it - keys_.begin()));
        }
    }

    static std::optional<CellAddress> resolve(const RefPart& part, CellAddress at, bool offsets) {
        int row = part.row, col = part.col;
        if (offsets) {
            if (part.rowRelative) row = at.row + static_cast<int16_t>(part.row);
            if (part.colRelative) col = at.col + static_cast<int8_t>(part.col);
        }
        if (row < 0 || row > 0xFFFF || col < 0 || col > 0xFF) return std::nullopt;
        return CellAddress{static_cast<uint16_t>(row), static_cast<uint16_t>(col)};
    }

    void collectDependencies(FormulaNode& node) {
        try {
            TokenCursor cursor(node.cell->formula);
            while (!cursor.atEnd()) {
                const Token t = cursor.next();
                int sheet = node.sheet;
                bool offsets = false;
                switch (t.id) {
                    case ptg::Ref:
                    case ptg::Area:
                        break;
                    case ptg::RefN:
                    case ptg::AreaN:
                        offsets = true;
                        break;
                    case ptg::Ref3d:
                    case ptg::Area3d: {
                        auto s = externSheets_.sheetFor(t.externSheet);
                        if (!s) continue;
                        sheet = *s;
                        break;
                    }
                    default:
                        continue;
                }
                auto a = resolve(t.first, node.at, offsets);
                auto b = resolve(t.last, node.at, offsets);
                if (a && b) addRange(node, sheet, *a, *b);
            }
        } catch (const MalformedFormula&) {
            // Evaluation reports the error value; the references read so far still order it.
        }
    }

    ExternSheets externSheets_;
    CellIndex cellIndex_;
    size_t dependencyBudget_;
    std::vector<FormulaNode> nodes_;
    // Each node's sheet and address, in node order, which is sorted: the
    // nodes a range holds are found by searching it.
    std::vector<NodeKey> keys_;
};

bool isSharedOrArrayFormula(const Cell& cell) {
    return !cell.formula.empty() && (cell.formula[0] == ptg::Exp || cell.formula[0] == ptg::Tbl);
}

}  // namespace

RecalcSummary recalculate(Workbook& workbook, size_t maxCellReads, size_t maxDependencies) {
    DependencyGraph graph(workbook, maxDependencies);
    size_t readBudget = maxCellReads;
    RecalcSummary summary;
    for (size_t i : graph.evaluationOrder()) {
        FormulaNode& node = graph.node(i);
        if (isSharedOrArrayFormula(*node.cell)) continue;
        ++summary.formulas;
        if (node.circular) {
            ++summary.circular;
            node.cell->value = CellValue::fromError(kCircularReferenceError);
            continue;
        }
        node.cell->value = evaluateFormula(workbook, graph.externSheets(), node.sheet, node.at,
                                           node.cell->formula, &readBudget, &graph.cellIndex());
    }
    return summary;
}

}  // namespace tallowby::engine::formula
