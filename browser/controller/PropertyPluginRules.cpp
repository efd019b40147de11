#include "PropertyPluginRules.h"

#include <utility>

std::vector<size_t> PluginOrder(const std::vector<int>& priorities) {
  std::vector<size_t> order(priorities.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (size_t i = 0; i < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      if (priorities[order[j]] < priorities[order[i]]) std::swap(order[i], order[j]);
  return order;
}
