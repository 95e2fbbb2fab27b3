#include "xml/xml_nodes.h"

#include <gtest/gtest.h>

namespace {

TEST(XMLNodesTree, NewNodesHaveTheirNameTextAndNoChildren) {
    EXPECT_TRUE(makeElementNode("x")->getChildren().empty());
    EXPECT_EQ(makeElementNode("x")->getText(), "");
    EXPECT_EQ(makeTextNode("")->getName(), "#text");
    EXPECT_EQ(makeTextNode("")->getText(), "");
    EXPECT_EQ(makeBlankTextNode()->getName(), TEXT_NODE_NAME);
    EXPECT_EQ(makeBlankTextNode()->getText(), " ");
    EXPECT_EQ(makeNode("#comment", "c")->getText(), "c");
}

TEST(XMLNodesTree, AddChildrenAppendsInOrderAndSnapshotsDoNotChange) {
    XMLNodesPtr root = makeElementNode("root");
    const XMLNodesPtr a = makeElementNode("a"), b = makeElementNode("b"), c = makeElementNode("c");
    root->addChildren({});
    EXPECT_TRUE(root->getChildren().empty());
    root->addChildren({a, b});
    XMLNodesList snapshot = root->getChildren();
    root->addChildren({c});
    EXPECT_EQ(snapshot, (XMLNodesList{a, b}));
    EXPECT_EQ(root->getChildren(), (XMLNodesList{a, b, c}));
    snapshot.clear();
    snapshot.push_back(makeElementNode("d"));
    EXPECT_EQ(root->getChildren().size(), 3u);
}

}  // namespace
