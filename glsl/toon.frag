// Toon shading, fragment stage: the diffuse term of light 0 looks up a banded
// ramp (unit 1) that shades the part's colour: its texture (unit 0) when it has
// one, else its material colour. The ramp scales the colour, so a texture keeps
// its own colours in every band.
uniform sampler2D sampler0;  // material texture
uniform sampler2D sampler1;  // toon ramp, dark on the left, light on the right
uniform int textureFlag;     // 1 when the part has a texture

varying vec3 normal;
varying vec3 lightDirection;

void main() {
  float diffuse = max(dot(normalize(normal), lightDirection), 0.0);
  vec4 ramp = texture2D(sampler1, vec2(clamp(diffuse, 0.02, 0.98), 0.5));
  vec4 colour;
  if (textureFlag == 1) {
    vec4 texel = texture2D(sampler0, gl_TexCoord[0].st);
    colour = texel * ramp;
  } else {
    colour = ramp * gl_FrontMaterial.diffuse;
  }
  gl_FragColor = vec4(colour.rgb, gl_FrontMaterial.diffuse.a);
}
