// The red-black tree steps of platform/win32/runtime/rb_tree.cpp, which the i686 build uses
// for std::map and std::set instead of libstdc++'s prebuilt ones. This test
// links them into a native program, where they take the place of the
// library's: every std::set below runs on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

namespace {

using Node = const std::_Rb_tree_node_base*;

// Checks the tree behind a set: the header's links, parent links, no red
// node with a red child, the same number of black nodes on every path, and
// the order seen walking forwards and backwards.
template <typename Set>
void ExpectSound(const Set& tree, const std::vector<int>& expected) {
  const Node header = tree.end()._M_node;
  const Node root = header->_M_parent;
  ASSERT_EQ(header->_M_color, std::_S_red);
  if (root == nullptr) {
    EXPECT_TRUE(expected.empty());
    EXPECT_EQ(header->_M_left, header);
    EXPECT_EQ(header->_M_right, header);
    return;
  }
  EXPECT_EQ(root->_M_parent, header);
  EXPECT_EQ(root->_M_color, std::_S_black);
  EXPECT_EQ(header->_M_left, std::_Rb_tree_node_base::_S_minimum(const_cast<std::_Rb_tree_node_base*>(root)));
  EXPECT_EQ(header->_M_right, std::_Rb_tree_node_base::_S_maximum(const_cast<std::_Rb_tree_node_base*>(root)));
  unsigned blackHeight = 0;
  for (auto it = tree.begin(); it != tree.end(); ++it) {
    const Node node = it._M_node;
    for (Node child : {node->_M_left, node->_M_right}) {
      if (child != nullptr) {
        ASSERT_EQ(child->_M_parent, node);
        EXPECT_FALSE(node->_M_color == std::_S_red && child->_M_color == std::_S_red);
      }
    }
    if (node->_M_left == nullptr || node->_M_right == nullptr) {
      const unsigned count = std::_Rb_tree_black_count(node, root);
      EXPECT_TRUE(blackHeight == 0 || count == blackHeight) << "black height " << count << " vs " << blackHeight;
      blackHeight = count;
    }
  }
  EXPECT_EQ(std::vector<int>(tree.begin(), tree.end()), expected);
  EXPECT_EQ(std::vector<int>(tree.rbegin(), tree.rend()), std::vector<int>(expected.rbegin(), expected.rend()));
}

// Random insertions and erasures (by key, by iterator, of ranges) on a set
// and a multiset, checked after every step against a sorted vector.
TEST(RbTree, StaysSoundThroughInsertionsAndErasures) {
  const struct {
    unsigned seed;
    int keys;
    int insertPercent;
  } runs[] = {{1, 40, 70}, {2, 400, 55}, {3, 2000, 90}, {4, 64, 30}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.seed);
    std::mt19937 random(run.seed);
    std::set<int> set;
    std::multiset<int> multiset;
    std::vector<int> unique;
    std::vector<int> all;
    for (int step = 0; step < 1500; ++step) {
      const int key = static_cast<int>(random() % run.keys);
      const int choice = static_cast<int>(random() % 100);
      if (choice < run.insertPercent) {
        set.insert(key);
        multiset.insert(key);
        all.insert(std::upper_bound(all.begin(), all.end(), key), key);
      } else if (choice < run.insertPercent + (100 - run.insertPercent) / 2) {
        set.erase(key);
        multiset.erase(key);
        all.erase(std::remove(all.begin(), all.end(), key), all.end());
      } else if (!multiset.empty()) {
        auto first = multiset.lower_bound(key);
        auto last = first;
        for (int n = choice % 3; n > 0 && last != multiset.end(); --n) {
          ++last;
        }
        const auto from = all.begin() + std::distance(multiset.begin(), first);
        all.erase(from, from + std::distance(first, last));
        multiset.erase(first, last);
        set = std::set<int>(all.begin(), all.end());
      }
      unique = all;
      unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
      ExpectSound(set, unique);
      ExpectSound(multiset, all);
      if (HasFailure()) {
        return;
      }
    }
  }
}

}  // namespace
