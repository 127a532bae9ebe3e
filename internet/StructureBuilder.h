// The document structure viewer's two trees, built from the tokens of a page:
// elements nested by a stack of open elements (with their attributes, text
// runs and comments; end tags and implied ends close them), and the links the
// page holds, each value once. The root of the structure is never closed.
#pragma once

#include <string>
#include <vector>

class THTMLParser;

struct TStructureNode {
    std::string Text;
    // Structure: 0 document, 1 text, 2 element, 3 attribute, 4 comment.
    // Links: 0 the root, else the link kind.
    int Picture = 0;
    int Parent = -1;
};

class TStructureBuilder {
public:
    explicit TStructureBuilder(const std::string& rootText);

    // Takes every token to the end; raises EParserError from the tokenizer
    // (the nodes built so far stay).
    void Build(THTMLParser& parser);

    const std::vector<TStructureNode>& Structure() const { return structure_; }
    const std::vector<TStructureNode>& Links() const { return links_; }

private:
    struct TOpen {
        int Node;
        std::string Name;
    };
    void StartTag(THTMLParser& parser, const std::string& name);
    void EndTag(const std::string& name);
    void CloseImplied(const std::string& name);
    void PopUntil(std::initializer_list<const char*> names);
    void CollectLinks(THTMLParser& parser, const std::string& name);
    int Add(std::vector<TStructureNode>& tree, std::string text, int picture, int parent);

    std::vector<TStructureNode> structure_;
    std::vector<TStructureNode> links_;
    std::vector<TOpen> open_;
    std::vector<std::string> seenLinks_;
};
