// The red-black tree steps behind std::map and std::set. libstdc++ keeps them
// out of its headers, in prebuilt code compiled for the Pentium Pro (CMOV);
// these are the same operations on the same node layout, compiled for the
// i586. The header node holds the root (parent), the leftmost (left) and the
// rightmost (right) node and is red, which tells it apart from the root.
#include <map>
#include <utility>

namespace std {

namespace {

using Node = _Rb_tree_node_base*;

bool IsBlack(Node node) { return node == nullptr || node->_M_color == _S_black; }

Node Leftmost(Node node) {
  while (node->_M_left != nullptr) {
    node = node->_M_left;
  }
  return node;
}

Node Rightmost(Node node) {
  while (node->_M_right != nullptr) {
    node = node->_M_right;
  }
  return node;
}

// Puts child where node hangs from its parent (or makes it the root).
void ReplaceChild(Node node, Node child, Node& root) {
  if (node == root) {
    root = child;
  } else if (node == node->_M_parent->_M_left) {
    node->_M_parent->_M_left = child;
  } else {
    node->_M_parent->_M_right = child;
  }
}

}  // namespace

_Rb_tree_node_base* _Rb_tree_increment(_Rb_tree_node_base* x) throw() {
  if (x->_M_right != nullptr) {
    return Leftmost(x->_M_right);
  }
  Node parent = x->_M_parent;
  while (x == parent->_M_right) {
    x = parent;
    parent = parent->_M_parent;
  }
  // Stepping past the rightmost node ends on the header; when the root has
  // no right subtree, x is the header already and parent the root.
  return x->_M_right != parent ? parent : x;
}

const _Rb_tree_node_base* _Rb_tree_increment(const _Rb_tree_node_base* x) throw() {
  return _Rb_tree_increment(const_cast<Node>(x));
}

_Rb_tree_node_base* _Rb_tree_decrement(_Rb_tree_node_base* x) throw() {
  if (x->_M_color == _S_red && x->_M_parent->_M_parent == x) {
    return x->_M_right;  // end() steps back to the rightmost node
  }
  if (x->_M_left != nullptr) {
    return Rightmost(x->_M_left);
  }
  Node parent = x->_M_parent;
  while (x == parent->_M_left) {
    x = parent;
    parent = parent->_M_parent;
  }
  return parent;
}

const _Rb_tree_node_base* _Rb_tree_decrement(const _Rb_tree_node_base* x) throw() {
  return _Rb_tree_decrement(const_cast<Node>(x));
}

void _Rb_tree_rotate_left(_Rb_tree_node_base* const x, _Rb_tree_node_base*& root) {
  const Node y = x->_M_right;
  x->_M_right = y->_M_left;
  if (y->_M_left != nullptr) {
    y->_M_left->_M_parent = x;
  }
  y->_M_parent = x->_M_parent;
  ReplaceChild(x, y, root);
  y->_M_left = x;
  x->_M_parent = y;
}

void _Rb_tree_rotate_right(_Rb_tree_node_base* const x, _Rb_tree_node_base*& root) {
  const Node y = x->_M_left;
  x->_M_left = y->_M_right;
  if (y->_M_right != nullptr) {
    y->_M_right->_M_parent = x;
  }
  y->_M_parent = x->_M_parent;
  ReplaceChild(x, y, root);
  y->_M_right = x;
  x->_M_parent = y;
}

void _Rb_tree_insert_and_rebalance(const bool insertLeft, _Rb_tree_node_base* x, _Rb_tree_node_base* p,
                                   _Rb_tree_node_base& header) throw() {
  Node& root = header._M_parent;
  x->_M_parent = p;
  x->_M_left = nullptr;
  x->_M_right = nullptr;
  x->_M_color = _S_red;
  if (insertLeft) {
    p->_M_left = x;  // also the leftmost of an empty tree: p is the header
    if (p == &header) {
      header._M_parent = x;
      header._M_right = x;
    } else if (p == header._M_left) {
      header._M_left = x;
    }
  } else {
    p->_M_right = x;
    if (p == header._M_right) {
      header._M_right = x;
    }
  }
  while (x != root && x->_M_parent->_M_color == _S_red) {
    const Node grandparent = x->_M_parent->_M_parent;
    if (x->_M_parent == grandparent->_M_left) {
      const Node uncle = grandparent->_M_right;
      if (!IsBlack(uncle)) {
        x->_M_parent->_M_color = _S_black;
        uncle->_M_color = _S_black;
        grandparent->_M_color = _S_red;
        x = grandparent;
      } else {
        if (x == x->_M_parent->_M_right) {
          x = x->_M_parent;
          _Rb_tree_rotate_left(x, root);
        }
        x->_M_parent->_M_color = _S_black;
        grandparent->_M_color = _S_red;
        _Rb_tree_rotate_right(grandparent, root);
      }
    } else {
      const Node uncle = grandparent->_M_left;
      if (!IsBlack(uncle)) {
        x->_M_parent->_M_color = _S_black;
        uncle->_M_color = _S_black;
        grandparent->_M_color = _S_red;
        x = grandparent;
      } else {
        if (x == x->_M_parent->_M_left) {
          x = x->_M_parent;
          _Rb_tree_rotate_right(x, root);
        }
        x->_M_parent->_M_color = _S_black;
        grandparent->_M_color = _S_red;
        _Rb_tree_rotate_left(grandparent, root);
      }
    }
  }
  root->_M_color = _S_black;
}

_Rb_tree_node_base* _Rb_tree_rebalance_for_erase(_Rb_tree_node_base* const z, _Rb_tree_node_base& header) throw() {
  Node& root = header._M_parent;
  Node& leftmost = header._M_left;
  Node& rightmost = header._M_right;
  Node y = z;  // the node that leaves its place in the tree
  Node x = nullptr;
  Node xParent = nullptr;
  if (y->_M_left == nullptr) {
    x = y->_M_right;
  } else if (y->_M_right == nullptr) {
    x = y->_M_left;
  } else {
    y = Leftmost(y->_M_right);  // z's successor takes z's place
    x = y->_M_right;
  }
  if (y != z) {
    z->_M_left->_M_parent = y;
    y->_M_left = z->_M_left;
    if (y != z->_M_right) {
      xParent = y->_M_parent;
      if (x != nullptr) {
        x->_M_parent = y->_M_parent;
      }
      y->_M_parent->_M_left = x;
      y->_M_right = z->_M_right;
      z->_M_right->_M_parent = y;
    } else {
      xParent = y;
    }
    ReplaceChild(z, y, root);
    y->_M_parent = z->_M_parent;
    std::swap(y->_M_color, z->_M_color);
    y = z;
  } else {
    xParent = y->_M_parent;
    if (x != nullptr) {
      x->_M_parent = y->_M_parent;
    }
    ReplaceChild(z, x, root);
    if (leftmost == z) {
      leftmost = z->_M_right == nullptr ? z->_M_parent : Leftmost(x);
    }
    if (rightmost == z) {
      rightmost = z->_M_left == nullptr ? z->_M_parent : Rightmost(x);
    }
  }
  if (y->_M_color != _S_red) {
    while (x != root && IsBlack(x)) {
      if (x == xParent->_M_left) {
        Node sibling = xParent->_M_right;
        if (sibling->_M_color == _S_red) {
          sibling->_M_color = _S_black;
          xParent->_M_color = _S_red;
          _Rb_tree_rotate_left(xParent, root);
          sibling = xParent->_M_right;
        }
        if (IsBlack(sibling->_M_left) && IsBlack(sibling->_M_right)) {
          sibling->_M_color = _S_red;
          x = xParent;
          xParent = xParent->_M_parent;
        } else {
          if (IsBlack(sibling->_M_right)) {
            sibling->_M_left->_M_color = _S_black;
            sibling->_M_color = _S_red;
            _Rb_tree_rotate_right(sibling, root);
            sibling = xParent->_M_right;
          }
          sibling->_M_color = xParent->_M_color;
          xParent->_M_color = _S_black;
          if (sibling->_M_right != nullptr) {
            sibling->_M_right->_M_color = _S_black;
          }
          _Rb_tree_rotate_left(xParent, root);
          break;
        }
      } else {
        Node sibling = xParent->_M_left;
        if (sibling->_M_color == _S_red) {
          sibling->_M_color = _S_black;
          xParent->_M_color = _S_red;
          _Rb_tree_rotate_right(xParent, root);
          sibling = xParent->_M_left;
        }
        if (IsBlack(sibling->_M_right) && IsBlack(sibling->_M_left)) {
          sibling->_M_color = _S_red;
          x = xParent;
          xParent = xParent->_M_parent;
        } else {
          if (IsBlack(sibling->_M_left)) {
            sibling->_M_right->_M_color = _S_black;
            sibling->_M_color = _S_red;
            _Rb_tree_rotate_left(sibling, root);
            sibling = xParent->_M_left;
          }
          sibling->_M_color = xParent->_M_color;
          xParent->_M_color = _S_black;
          if (sibling->_M_left != nullptr) {
            sibling->_M_left->_M_color = _S_black;
          }
          _Rb_tree_rotate_right(xParent, root);
          break;
        }
      }
    }
    if (x != nullptr) {
      x->_M_color = _S_black;
    }
  }
  return y;
}

unsigned int _Rb_tree_black_count(const _Rb_tree_node_base* node, const _Rb_tree_node_base* root) throw() {
  unsigned int count = 0;
  for (; node != nullptr; node = node->_M_parent) {
    if (node->_M_color == _S_black) {
      ++count;
    }
    if (node == root) {
      break;
    }
  }
  return count;
}

}  // namespace std
